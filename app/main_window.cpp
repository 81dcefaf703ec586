#include "app/main_window.h"

#include "app/main_line_handlers.h"
#include "capture/view/wave_view.h"
#include "link/port_advice.h"
#include "link/port_search.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace quvan::app {
namespace {

constexpr std::uint32_t kZemOffWaitMs = 1000;
constexpr std::uint32_t kEditionWaitMs = 100;
constexpr std::uint32_t kCloseLearningWaitMs = 2000;

} // namespace

TfrmMain::TfrmMain(const QString& applicationTitle, MainServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)),
      lineHandlers_(std::make_unique<MainLineHandlers>(*this)) {
    setObjectName("frmMain");
    BuildMainWidgets(*this, w_, IsProTitle(applicationTitle.toStdString()) ? 4 : 2);
    FormCreate(applicationTitle);

    link::BoardLink& link = services_.link;
    connect(&link, &link::BoardLink::portStatusChanged, this,
            [this](const QString& text) { w_.sBarPanels[0]->setText(text); });
    connect(&link, &link::BoardLink::deviceRemoved, this, &TfrmMain::PortLost);
    connect(w_.mmQuit, &QAction::triggered, this, &QWidget::close);
    connect(w_.mmLanguageJa, &QAction::triggered, this, [this] { ChooseLanguage("ja"); });
    connect(w_.mmLanguageEn, &QAction::triggered, this, [this] { ChooseLanguage("en"); });
    connect(w_.scrBar, &QScrollBar::valueChanged, this, &TfrmMain::PlaceWaveImage);
    // The window's own resize comes before its layout has sized the scroll
    // bar (at the first showing, the bar is still at its default width), so
    // the extent is taken again whenever the bar itself changes size.
    w_.scrBar->installEventFilter(this);
    link.setHandlers(lineHandlers_.get());
}

TfrmMain::~TfrmMain() {
    services_.link.setHandlers(nullptr);
}

void TfrmMain::FormCreate(const QString& applicationTitle) {
    state_.StartupDone = false;
    programTitle_ = applicationTitle + "  [ " + kVersionText + " ]";
    state_.ProEdition = IsProTitle(applicationTitle.toStdString());
    state_.WaveLanes = state_.ProEdition ? 4 : 2;

    // Top edge 0, 1000 wide, as tall as the edition wants but never taller
    // than the first monitor allows.
    int height = state_.ProEdition ? 900 : 750;
    int left = 0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        height = std::min(height, screen->geometry().height() - 50);
        left = screen->availableGeometry().left() +
               std::max(0, (screen->availableGeometry().width() - 1000) / 2);
    }
    setMinimumSize(kMinWidth, kMinHeight);
    setGeometry(left, 0, 1000, std::max(height, kMinHeight));

    w_.mmSystemPath->menuAction()->setVisible(false);

    if (services_.settings) {
        state_.settings = std::move(*services_.settings);
        services_.settings.reset();
    } else {
        state_.settings = LoadSettings(services_.settingsLocation);
    }
    RefreshTitle();
    (LanguageCode(state_.settings.Language) == "en" ? w_.mmLanguageEn : w_.mmLanguageJa)
        ->setChecked(true);
    link::RS232C& port = services_.link.ComPort;
    port.settings() = state_.settings.Port;
    port.PortOpen = false;
    port.RcvRunning = false;
    savedPortName_ = port.PortName;
    if (services_.portOverride) {
        port.PortName = *services_.portOverride;
    }
    if (state_.settings.HexFilePath.empty()) {
        state_.settings.HexFilePath =
            services_.settingsLocation.executableDir + "Hex/QUVAN-ARM_R251223.Hex";
    }

    w_.pnlZoom->setText("1/200");
    w_.pnlWave->show();
    w_.pnlCont->show();
    w_.pgBar->hide();
    w_.pnlCont->setProperty("tag", 0);
    for (QCheckBox* box : {w_.ckEiritsu, w_.ckPhilips, w_.ckSerial, w_.ckMultiHeader}) {
        box->hide();
    }
    LayoutForEdition();

    w_.cmbSendText->setCurrentText(QString());
    w_.memoRecv->clear();
    w_.edtHrange->setText(QString::number(state_.settings.HRange));
    w_.edtWrange->setText(QString::number(state_.settings.WRange));
    w_.edtLtime->setText(QString::number(state_.settings.LearnTime / 1000));
    FillParameterLists();

    SetLearningIndicator(false);
    SetTableModified(false);
    w_.sBarPanels[0]->setText(tr("COM:OFF"));
}

void TfrmMain::LayoutForEdition() {
    if (state_.ProEdition) {
        w_.ckLearningMsg->setChecked(false);
    } else {
        w_.ckLearningMsg->setChecked(true);
        for (QWidget* widget : std::initializer_list<QWidget*>{
                 w_.ckRF_ID, w_.ckPcode, w_.ckCodeCheck, w_.ckFullCode, w_.btnWavePrint,
                 w_.btnWaveSave, w_.btnTablePrint, w_.pnlWaveData}) {
            widget->hide();
        }
        w_.pnlCont->setFixedHeight(w_.pnlWaveData->geometry().bottom() + 1 + 4);
        w_.pgBar->resize(w_.btnWaveClear->x() - w_.pgBar->x() - 8, w_.pgBar->height());
    }

    // The wave panel holds the strip, one 50-pixel lane per capture and the
    // scroll bar; the image is far wider and scrolls under the panel.
    const int laneHeight = state_.WaveLanes * 50;
    const int stripHeight = w_.pnlCont->height();
    const int barHeight = w_.scrBar->sizeHint().height();
    w_.scrBar->setFixedHeight(barHeight);
    w_.pnlWave->setFixedHeight(stripHeight + laneHeight + barHeight + 2);
    w_.waveViewport->setFixedHeight(laneHeight);
    w_.imgWave->move(1, 2); // 20000 wide, one 50-pixel lane per capture less 2

    // The receive panel is 150 high; only the Pro edition lets the user move
    // the splitter above it.
    w_.splRecv->setSizes({std::max(1, height() - 150), 150});
    w_.splRecv->setHandleWidth(state_.ProEdition ? 5 : 0);
    w_.splRecv->handle(1)->setEnabled(state_.ProEdition);
    w_.splRecv->handle(1)->setVisible(state_.ProEdition);
}

void TfrmMain::FillParameterLists() {
    struct ListSpec {
        QComboBox* box;
        QStringList items;
    };
    const ListSpec lists[] = {
        {w_.cmbTs, {"250", "200", "300", "400"}},
        {w_.cmbTw, {"1480", "445", "830", "2100"}},
        {w_.cmbBt, {"54", "8", "16", "32", "56", "64"}},
        {w_.cmbSBit, {"3", "4", "8"}},
    };
    for (const ListSpec& list : lists) {
        list.box->clear();
        list.box->addItems(list.items);
        list.box->setCurrentText(list.items.front());
    }
    for (QWidget* widget : std::initializer_list<QWidget*>{w_.lblTs, w_.lblTw, w_.lblBt, w_.cmbTs,
                                                           w_.cmbTw, w_.cmbBt, w_.cmbSBit}) {
        widget->hide();
    }
}

void TfrmMain::SetLearningIndicator(bool on) {
    state_.LearningOn = on;
    QPalette palette = w_.pnlAnalyze->palette();
    palette.setColor(QPalette::Window,
                     on ? QColor(0, 255, 0) : QGuiApplication::palette().color(QPalette::Button));
    w_.pnlAnalyze->setPalette(palette);
    w_.pnlAnalyze->setProperty("lit", on);
    w_.pnlAnalyze->style()->unpolish(w_.pnlAnalyze); // the style sheet keys on "lit"
    w_.pnlAnalyze->style()->polish(w_.pnlAnalyze);
    w_.pnlAnalyze->setText(on ? tr("学習 On") : tr("学習 Off"));
    // Repaint now: the indicator must change even inside a long operation.
    QCoreApplication::processEvents();
}

void TfrmMain::RecordBoardVersion(const std::string& line) {
    const std::string version = VersionField(line);
    if (!version.empty()) {
        state_.BoardVersion = version;
    }
}

void TfrmMain::SetTableModified(bool modified) {
    state_.TableModified = modified;
    w_.sBarPanels[1]->setText(modified ? tr("変更") : QString());
    setWindowModified(modified);
}

void TfrmMain::RefreshTitle() {
    const std::string& path = state_.settings.CsvFilePath;
    const QString file =
        path.empty() ? tr("無題") : QFileInfo(QString::fromStdString(path)).fileName();
    setWindowTitle(QStringLiteral("%1[*] — %2").arg(file, programTitle_));
}

void TfrmMain::ChooseLanguage(const std::string& code) {
    if (code == state_.settings.Language ||
        (state_.settings.Language.empty() && code == LanguageCode({})))
        return;
    state_.settings.Language = code;
    services_.messages.show(1, tr("確認"), tr("表示言語の変更は、次回の起動から有効になります。"));
}

void TfrmMain::PortLost() {
    link::BoardLink& link = services_.link;
    if (!link.ComPort.PortOpen || link.ComPort.CommError) {
        return;
    }
    if (services_.messages.isShowing()) {
        LookAgainWhenMessageCloses();
        return;
    }
    // Probe: a gone device fails the line-status query and sets CommError.
    link.SendCommand("");
    if (!link.ComPort.CommError) {
        return;
    }
    ReportLineLost();
}

void TfrmMain::LookAgainWhenMessageCloses() {
    // Not now, over the box being shown; but a port that is dead once it has
    // closed is reported and closed then. Left open, it would swallow every
    // command, and the connection check, which searches only when no port is
    // open, would never find the board plugged in again.
    if (removalPending_) {
        return;
    }
    removalPending_ = true;
    services_.messages.runWhenClosed(this, [this] {
        removalPending_ = false;
        const link::RS232C& port = services_.link.ComPort;
        if (!port.PortOpen || !port.CommError) {
            return; // closed meanwhile, or the line was not lost after all
        }
        if (services_.messages.isShowing()) {
            LookAgainWhenMessageCloses();
        } else {
            ReportLineLost();
        }
    });
}

void TfrmMain::ReportLineLost() {
    link::BoardLink& link = services_.link;
    if (!link.ComPort.PortOpen || services_.messages.isShowing()) {
        return;
    }
    services_.messages.show(1, tr("確認"),
                            tr("%1 が閉じられました。\n通信ケーブル等を確認して下さい。")
                                .arg(QString::fromStdString(link.ComPort.PortName)));
    link.ClosePort();
    link.SetPortSearchActive(false);
    SetLearningIndicator(false);
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!state_.StartupDone) {
        // Run once the window is on screen, so the user sees it at once.
        QTimer::singleShot(0, this, [this] {
            if (!state_.StartupDone) {
                StartSequence();
            }
        });
    }
}

bool TfrmMain::ConnectBoard() {
    link::SearchCallbacks callbacks;
    callbacks.boardFound = [this](const std::string& name) {
        appendLog(QString::fromStdString(name));
    };
    // A port that opens but stays silent (no board, or one that answers too
    // late) is named, so that the user knows why the board is not there.
    QString unanswered;
    callbacks.probeUnanswered = [this, &unanswered](const std::string& name) {
        unanswered = tr("%1 で QUVAN から応答がありません（\"Ver\", %2 ms）")
                         .arg(QString::fromStdString(name))
                         .arg(link::kProbeWaitMs);
        appendLog(unanswered);
    };
    const bool found = link::ConnectBoard(services_.link, services_.ports, callbacks);
    if (!found && !unanswered.isEmpty()) {
        w_.sBarPanels[2]->setText(unanswered);
    }
    // A port this user may not open is the likeliest reason of all on Linux:
    // the log says how to put it right.
    const std::optional<platform::OpenError>& refused = services_.link.permissionRefusal();
    if (!found && refused) {
        appendLog(link::OpenFailureAdvice(*refused));
        w_.sBarPanels[2]->setText(link::OpenFailureSummary(*refused));
    }
    return found;
}

void TfrmMain::StartSequence() {
    link::BoardLink& link = services_.link;
    if (!state_.settings.CsvFilePath.empty()) {
        const bool loaded = loadTableAtStart && loadTableAtStart(state_.settings.CsvFilePath);
        if (!loaded) {
            state_.settings.CsvFilePath.clear();
        }
        RefreshTitle();
    }
    ConnectBoard();
    if (link.ComPort.PortOpen) {
        link.SendCommand("ZEM:off");
        link.WaitResponse(kZemOffWaitMs);
        state_.StartupDone = true;
        link.SendCommand(state_.ProEdition ? "Version:Pro" : "Version:STD");
        link.WaitResponse(kEditionWaitMs);
        link.SendCommand("T");
    }
    link.ShowPortStatus();
    w_.btnTest->setFocus();
    state_.StartupDone = true;
    emit startupFinished();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (state_.TableModified &&
        services_.messages.show(
            2, tr("確認"),
            tr("学習情報を保存していません。\n破棄して終了してもよろしいですか？")) != 1) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TfrmMain::FormClose() {
    link::BoardLink& link = services_.link;
    if (state_.LearningOn) {
        link.SendCommand("T");
        link.WaitResponse(kCloseLearningWaitMs);
    }
    SaveSettings();
    link.ClosePort();
}

void TfrmMain::SaveSettings() {
    state_.settings.Port = services_.link.ComPort.settings();
    if (services_.portOverride) {
        // A port given for this run only must not replace the user's own.
        state_.settings.Port.PortName = savedPortName_;
    }
    const SaveOutcome outcome = app::SaveSettings(services_.settingsLocation, state_.settings);
    if (!outcome.status.empty()) {
        w_.sBarPanels[2]->setText(QString::fromStdString(outcome.status));
    }
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TfrmMain::FormResize() {
    // The minimum size (500 × 400) is kept by the window system, and the grid
    // shares its width between Comments and Result itself whenever its own
    // size changes (after the layout has given it one).
    state_.WaveScrollExtent = w_.scrBar->width() - w_.imgWave->width() - 20;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == w_.scrBar && event->type() == QEvent::Resize) {
        FormResize();
        PlaceWaveImage(w_.scrBar->value());
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::PlaceWaveImage(int position) {
    const int maximum = std::max(1, w_.scrBar->maximum());
    w_.imgWave->move(1 + position * state_.WaveScrollExtent / maximum, w_.imgWave->y());
}

int TfrmMain::logLineCount() const {
    return w_.memoRecv->document()->isEmpty() ? 0 : w_.memoRecv->blockCount();
}

void TfrmMain::clearLog() {
    w_.memoRecv->clear();
}

void TfrmMain::appendLog(const QString& line) {
    w_.memoRecv->appendPlainText(line);
}

} // namespace quvan::app
