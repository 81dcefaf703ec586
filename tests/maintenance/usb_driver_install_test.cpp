// The driver installer command: finding the file, the confirmation, and the
// messages after the run.

#include "maintenance/usb_driver_install.h"

#include <gtest/gtest.h>
#include <set>

namespace quvan::maintenance {
namespace {

class InstallerRecorder final : public InstallerEffects {
  public:
    std::set<std::string> files;
    std::optional<std::string> pick; // what the file dialog returns
    int answer = 1;
    bool starts = true;
    bool removeOnQuestion = false; // the file goes while the question is open

    std::vector<std::string> asked; // initial paths of the file dialog
    std::vector<std::string> shownPaths;
    std::vector<std::string> messages; // "kind|caption|text"
    std::vector<std::string> runs;

    bool fileExists(const std::string& path) const override { return files.count(path) != 0; }
    std::optional<std::string> chooseInstaller(const std::string& initialPath) override {
        asked.push_back(initialPath);
        return pick;
    }
    void showPath(const std::string& path) override { shownPaths.push_back(path); }
    int showMessage(int kind, const std::string& caption, const std::string& text) override {
        messages.push_back(std::to_string(kind) + "|" + caption + "|" + text);
        if (kind == 2 && removeOnQuestion)
            files.clear();
        return kind == 2 ? answer : 1;
    }
    bool runAndWait(const std::string& path, const std::string& parameters) override {
        runs.push_back(path + "|" + parameters);
        return starts;
    }
};

TEST(UsbDriverInstall, TheDefaultFileIsConfirmedRunAndReported) {
    InstallerRecorder fx;
    fx.files = {"USB_Driver/PL23XX_Driver.exe"};
    std::string path;
    RunUsbDriverInstall(path, fx);
    EXPECT_EQ(path, "USB_Driver/PL23XX_Driver.exe");
    EXPECT_TRUE(fx.asked.empty());
    // Only the file name shows in the question.
    EXPECT_EQ(fx.messages,
              (std::vector<std::string>{"2|確認|USB Driver [ PL23XX_Driver.exe ] Install",
                                        "1|確認|Installation completed"}));
    EXPECT_EQ(fx.runs, std::vector<std::string>{"USB_Driver/PL23XX_Driver.exe|"});
}

// The dialogs and the shell's answers are tried end to end; these are the
// turns a user rarely takes.
TEST(UsbDriverInstall, NoToTheQuestionOrAFileThatWentInTheMeantime) {
    std::string path;
    InstallerRecorder no;
    no.files = {"USB_Driver/PL23XX_Driver.exe"};
    no.answer = 2;
    RunUsbDriverInstall(path, no);
    EXPECT_TRUE(no.runs.empty());
    EXPECT_EQ(no.messages.size(), 1u);

    InstallerRecorder gone;
    gone.files = {"USB_Driver/PL23XX_Driver.exe"};
    gone.removeOnQuestion = true;
    RunUsbDriverInstall(path, gone);
    EXPECT_TRUE(gone.runs.empty());
    EXPECT_EQ(gone.messages.back(), "1|警告|USB Driver Not Found");
}

} // namespace
} // namespace quvan::maintenance
