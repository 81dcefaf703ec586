#include "platform/atomic_file.h"

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

// Why the user may not replace an existing file, or an empty text. The
// permission check is the system's own (it knows groups and access lists);
// a file without any write permission is write-protected even for the
// administrator, whom the system would let through.
std::string refusal(const fs::path& target, const struct stat& old) {
    if (!S_ISREG(old.st_mode))
        return target.string() + " is not a regular file";
    if ((old.st_mode & 0222) == 0)
        return target.string() + " is write-protected (read-only for everyone)";
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return failure("may not write", target, errno);
    return {};
}

std::string readWhole(int fd) {
    std::string bytes;
    char chunk[65536];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return bytes;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

bool replaceContent(int fd, std::string_view bytes) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes) &&
           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// Overwrites the file itself, which keeps its owner, group, mode and links.
// A failure part way puts the old content back as far as it can.
std::string writeInPlace(const fs::path& target, std::string_view bytes) {
    int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return failure("cannot open", target, errno);
    const std::string old = readWhole(fd);
    std::string error;
    if (!replaceContent(fd, bytes)) {
        error = failure("cannot write", target, errno);
        replaceContent(fd, old);
    }
    if (::close(fd) != 0 && error.empty())
        error = failure("cannot close", target, errno);
    return error;
}

} // namespace

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const fs::path target = resolvedTarget(path);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (std::string refused = refusal(target, old); !refused.empty())
            return refused;
    }

    std::string pattern = (folder / ("." + target.filename().string() + ".saving-XXXXXX")).string();
    std::vector<char> tempName(pattern.begin(), pattern.end());
    tempName.push_back('\0');
    int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        // A folder that takes no new files may still hold a file the user may
        // write.
        if (exists && (error == EACCES || error == EPERM))
            return writeInPlace(target, bytes);
        return failure("cannot create a temporary file in", folder, error);
    }
    const fs::path temp(tempName.data());

    std::string error;
    bool keepsOwner = true;
    if (exists) {
        struct stat made {};
        if (::fstat(fd, &made) == 0 && (made.st_uid != old.st_uid || made.st_gid != old.st_gid))
            keepsOwner = ::fchown(fd, old.st_uid, old.st_gid) == 0;
    }
    // After the change of owner, which clears the set-id bits.
    const mode_t mode = exists ? (old.st_mode & 07777) : newFileMode();
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, bytes) || ::fsync(fd) != 0)
        error = failure("cannot write", temp, errno);
    if (::close(fd) != 0 && error.empty())
        error = failure("cannot close", temp, errno);
    if (error.empty() && !keepsOwner) {
        // The new content fits on the disk; the rename would hand the file to
        // this user, so it is written into the file itself instead.
        ::unlink(temp.c_str());
        return writeInPlace(target, bytes);
    }
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
