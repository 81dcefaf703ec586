// Replacing a file keeps it the user's file: refused where the user may not
// write, same owner and mode where they may. The cases with other users run
// in a child process that gives up the administrator's rights.

#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quvan {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 65534; // "nobody" on Debian
constexpr gid_t kOtherGroup = 65534;

class AtomicFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "atomic-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        file_ = (folder_ / "table.Csv").string();
        std::ofstream(file_, std::ios::binary) << "old";
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string content() const {
        std::ifstream in(file_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    struct stat info() const {
        struct stat s {};
        ::stat(file_.c_str(), &s);
        return s;
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
    }
    // Runs `body` as the other user; its return value is the exit status.
    static int AsOtherUser(const std::function<int()>& body) {
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kOtherGroup) != 0 ||
                ::setuid(kOtherUser) != 0)
                ::_exit(99);
            ::_exit(body());
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
    }

    fs::path folder_;
    std::string file_;
};

#define SKIP_UNLESS_ADMINISTRATOR()                                                                \
    if (::geteuid() != 0)                                                                          \
    GTEST_SKIP() << "needs to change owners"

TEST_F(AtomicFileTest, WriteProtectedFileIsRefusedEvenForTheAdministrator) {
    ::chmod(file_.c_str(), 0444);
    const std::string error = WriteFileAtomically(file_, "new");
    EXPECT_NE(error.find("write-protected"), std::string::npos) << error;
    EXPECT_EQ(content(), "old");
    EXPECT_EQ(info().st_mode & 07777, 0444u);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFileTest, ReplacedFileKeepsItsOwnerGroupAndMode) {
    SKIP_UNLESS_ADMINISTRATOR();
    ASSERT_EQ(::chown(file_.c_str(), kOtherUser, kOtherGroup), 0);
    ::chmod(file_.c_str(), 0640);
    EXPECT_EQ(WriteFileAtomically(file_, "new"), "");
    EXPECT_EQ(content(), "new");
    EXPECT_EQ(info().st_uid, kOtherUser);
    EXPECT_EQ(info().st_gid, kOtherGroup);
    EXPECT_EQ(info().st_mode & 07777, 0640u);
}

TEST_F(AtomicFileTest, AnotherUsersFileIsRefusedThoughTheFolderAllowsTheRename) {
    SKIP_UNLESS_ADMINISTRATOR();
    ::chmod(folder_.c_str(), 0777);
    ::chmod(file_.c_str(), 0644); // the administrator's, readable by all
    const std::string path = file_;
    EXPECT_EQ(AsOtherUser([&] {
                  const std::string error = WriteFileAtomically(path, "new");
                  return error.find("may not write") != std::string::npos ? 0 : 1;
              }),
              0);
    EXPECT_EQ(content(), "old");
    EXPECT_EQ(info().st_uid, 0u);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFileTest, SharedFileOfTheGroupIsWrittenInPlaceAndStaysItsOwners) {
    SKIP_UNLESS_ADMINISTRATOR();
    ::chmod(folder_.c_str(), 0777);
    ASSERT_EQ(::chown(file_.c_str(), 0, kOtherGroup), 0);
    ::chmod(file_.c_str(), 0664);
    const std::string path = file_;
    EXPECT_EQ(AsOtherUser([&] { return WriteFileAtomically(path, "new content").empty() ? 0 : 1; }),
              0);
    EXPECT_EQ(content(), "new content");
    EXPECT_EQ(info().st_uid, 0u);
    EXPECT_EQ(info().st_gid, kOtherGroup);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFileTest, WritableFileInAFolderThatTakesNoNewFilesIsWrittenInPlace) {
    SKIP_UNLESS_ADMINISTRATOR();
    ::chmod(folder_.c_str(), 0755); // the administrator's folder
    ASSERT_EQ(::chown(file_.c_str(), kOtherUser, kOtherGroup), 0);
    const std::string path = file_;
    EXPECT_EQ(AsOtherUser(
                  [&] { return WriteFileAtomically(path, "longer new content").empty() ? 0 : 1; }),
              0);
    EXPECT_EQ(content(), "longer new content");
}

TEST_F(AtomicFileTest, NewFileGetsTheUsualModeAndNoTemporaryIsLeft) {
    const std::string fresh = (folder_ / "fresh.Csv").string();
    const mode_t mask = ::umask(027);
    EXPECT_EQ(WriteFileAtomically(fresh, "x"), "");
    ::umask(mask);
    struct stat s {};
    ::stat(fresh.c_str(), &s);
    EXPECT_EQ(s.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(), 2u);
}

} // namespace
} // namespace quvan
