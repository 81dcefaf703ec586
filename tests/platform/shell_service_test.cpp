// Starting a program and waiting for it: an executable directly, anything
// else through the desktop's opener, with the caller's timers running.

#include "../frame/temp_dir.h"
#include "platform/shell/shell_service.h"

#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace quvan::platform {
namespace {

namespace fs = std::filesystem;

std::string Script(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(path, fs::perms::owner_all);
    return path.string();
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(DesktopShell, AnExecutableRunsInItsFolderAndIsWaitedFor) {
    test_support::TempDir dir;
    const fs::path folder = dir.path() / "USB_Driver";
    fs::create_directory(folder);
    const std::string installer =
        Script(folder / "setup.sh", "sleep 0.3; pwd > ran.txt; echo \"$@\" >> ran.txt; exit 3");
    // A timer of the caller keeps firing while the installer runs.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    DesktopShell shell(Script(dir.path() / "opener.sh", "exit 9"));
    const ShellRun run = shell.OpenAndWait(installer, "--quiet \"two words\"");
    EXPECT_TRUE(run.started) << run.error;
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(Slurp(folder / "ran.txt"), folder.string() + "\n--quiet two words\n");
    EXPECT_GE(ticks, 5);
}

TEST(DesktopShell, OtherFilesGoToTheOpener) {
    test_support::TempDir dir;
    const fs::path document = dir.path() / "PL23XX_Driver.exe"; // not executable here
    std::ofstream(document) << "MZ";
    const fs::path seen = dir.path() / "opened.txt";
    DesktopShell shell(Script(dir.path() / "opener.sh", "echo \"$1\" > " + seen.string()));
    const ShellRun run = shell.OpenAndWait(document.string(), "");
    EXPECT_TRUE(run.started) << run.error;
    EXPECT_EQ(Slurp(seen), document.string() + "\n");

    // An opener that finds nothing to open the file with: not started.
    DesktopShell refusing(Script(dir.path() / "refuse.sh", "exit 4"));
    const ShellRun refused = refusing.OpenAndWait(document.string(), "");
    EXPECT_FALSE(refused.started);
    EXPECT_NE(refused.error.find("exit 4"), std::string::npos) << refused.error;
    // No opener at all.
    DesktopShell none((dir.path() / "no-opener").string());
    EXPECT_FALSE(none.OpenAndWait(document.string(), "").started);
}

TEST(DesktopShell, AMissingFileDoesNotStart) {
    test_support::TempDir dir;
    DesktopShell shell;
    const ShellRun run = shell.OpenAndWait((dir.path() / "gone.sh").string(), "");
    EXPECT_FALSE(run.started);
    EXPECT_NE(run.error.find("no such file"), std::string::npos);
}

} // namespace
} // namespace quvan::platform
