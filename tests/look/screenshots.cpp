// Takes screenshots of the tool's windows for a look by eye:
//   quvan-screenshots OUTDIR
// Run it under a real X server (scripts/screenshots.sh uses Xvfb).

#include "app/program.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

using namespace quvan;

namespace {

class NoPorts final : public platform::PortLister {
  public:
    std::vector<std::string> ports() override { return {}; }
};

class Silence final : public platform::SoundPlayer {
  public:
    void playAsync(const std::string&) override {}
};

void Save(QWidget& widget, const QString& path) {
    QTest::qWait(300);
    widget.grab().save(path);
}

void Shoot(QApplication& application, const QString& title, const QString& outDir,
           const QString& tag) {
    NoPorts ports;
    Silence silence;
    app::ProgramOptions options;
    options.title = title;
    options.settingsLocation =
        app::SettingsLocationFor((QDir::tempPath() + "/quvan-shot/" + tag).toStdString(), "", "");
    options.ports = &ports;
    options.sounds = &silence;
    options.port = "/dev/quvan-none";
    app::Program program(options);
    program.frmMain().show();
    QTest::qWait(500);
    program.frmMain().appendLog("QUVAN-ARM Ver.20251223");
    program.frmMain().appendLog("IrEND:ACK(0x06)");
    Save(program.frmMain(), outDir + "/main-" + tag + ".png");

    program.frmMsgBox().Prepare(
        2, QStringLiteral("確認"),
        QStringLiteral("学習情報を保存していません。\n破棄して終了してもよろしいですか？"));
    program.frmMsgBox().show();
    Save(program.frmMsgBox(), outDir + "/msgbox-" + tag + ".png");
    program.frmMsgBox().hide();

    program.frmCom().show();
    Save(program.frmCom(), outDir + "/comsettings-" + tag + ".png");
    program.frmCom().hide();
    (void)application;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    app::ApplyLavenderClassico(application);
    const QString outDir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    Shoot(application, "TAVIRO QUVAN-ARM Tool", outDir, "std");
    Shoot(application, "TAVIRO QUVAN-Pro Tool", outDir, "pro");
    return 0;
}
