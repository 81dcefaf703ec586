#include "table/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quvan {

namespace {

namespace fs = std::filesystem;

std::string failure(const std::string& what, const fs::path& file, int error) {
    return what + " " + file.string() + ": " + std::strerror(error);
}

fs::path resolvedTarget(const std::string& path) {
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path real = fs::weakly_canonical(target, ec);
        if (!ec)
            return real;
    }
    return target;
}

mode_t newFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// So that the rename itself survives a power cut.
void syncFolder(const fs::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const fs::path target = resolvedTarget(path);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::string pattern = (folder / ("." + target.filename().string() + ".saving-XXXXXX")).string();
    std::vector<char> tempName(pattern.begin(), pattern.end());
    tempName.push_back('\0');

    int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0)
        return failure("cannot create a temporary file in", folder, errno);
    const fs::path temp(tempName.data());

    struct stat old {};
    mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : newFileMode();
    std::string error;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, bytes) || ::fsync(fd) != 0)
        error = failure("cannot write", temp, errno);
    if (::close(fd) != 0 && error.empty())
        error = failure("cannot close", temp, errno);
    if (error.empty() && ::rename(temp.c_str(), target.c_str()) != 0)
        error = failure("cannot replace", target, errno);
    if (!error.empty()) {
        ::unlink(temp.c_str());
        return error;
    }
    syncFolder(folder);
    return {};
}

} // namespace quvan
