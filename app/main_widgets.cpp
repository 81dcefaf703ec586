#include "app/main_widgets.h"

#include "capture/view/wave_view.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace quvan::app {

void ClickPanel::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
}

void ClickPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    QLabel::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void ClickStatusBar::mouseDoubleClickEvent(QMouseEvent* event) {
    QStatusBar::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

namespace {

template <typename T, typename... Args> T* Make(QWidget* parent, const char* name, Args&&... args) {
    auto* widget = new T(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <typename T, typename... Args>
T* Place(QWidget* parent, const char* name, QRect geometry, Args&&... args) {
    T* widget = Make<T>(parent, name, std::forward<Args>(args)...);
    widget->setGeometry(geometry);
    return widget;
}

QComboBox* EditableCombo(QWidget* parent, const char* name, QRect geometry) {
    auto* combo = Place<QComboBox>(parent, name, geometry);
    combo->setEditable(true);
    combo->setInsertPolicy(
        QComboBox::NoInsert); // Enter adds to the list only where a handler says so
    return combo;
}

void BuildMenus(QMainWindow& window, MainWidgets& w) {
    QMenuBar* bar = window.menuBar();
    w.mmFile = bar->addMenu(QStringLiteral("ファイル(&F)"));
    w.mmFile->setObjectName("mmFile");
    w.mmNew = w.mmFile->addAction(QStringLiteral("新規作成 (&New)"));
    w.mmOpen = w.mmFile->addAction(QStringLiteral("ファイルを開く (&Open)"));
    w.mmSave = w.mmFile->addAction(QStringLiteral("ファイルに保存 (&Save)"));
    w.mmFile->addSeparator();
    w.mmImport = w.mmFile->addAction(QStringLiteral("Import..."));
    w.mmExport = w.mmFile->addAction(QStringLiteral("Export..."));
    w.mmImport->setObjectName("mmImport");
    w.mmExport->setObjectName("mmExport");
    w.mmImport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    w.mmExport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    w.mmFile->addSeparator();
    w.mmCom = w.mmFile->addAction(QStringLiteral("通信設定 (&Com)"));
    w.mmUsbDriver = w.mmFile->addAction(QStringLiteral("&USB Driver Install"));
    w.mmFirmware = w.mmFile->addAction(QStringLiteral("&Firmware Update (ファームウェアの更新)"));
    w.mmFile->addSeparator();
    w.mmQuit = w.mmFile->addAction(QStringLiteral("終了 (&Quit)"));
    w.mmNew->setShortcut(QKeySequence::New);
    w.mmOpen->setShortcut(QKeySequence::Open);
    w.mmSave->setShortcut(QKeySequence::Save);
    w.mmQuit->setShortcut(QKeySequence::Quit);

    w.mmOption = bar->addMenu(QStringLiteral("オプション(&O)"));
    w.mmOption->setObjectName("mmOption");
    w.mmOptionDipsw = w.mmOption->addAction(QStringLiteral("&DIP Switch Setup"));
    w.mmSystemPath = w.mmOption->addMenu(QStringLiteral("&SystemPath Setup"));
    w.mmSystemPath->setObjectName("mmSystemPath");
    w.mmOptionCsv = w.mmSystemPath->addAction(QStringLiteral("&CsvFile Path"));
    w.mmOptionHex = w.mmSystemPath->addAction(QStringLiteral("&HexFile Path"));
    w.mmOptionSnd = w.mmSystemPath->addAction(QStringLiteral("&SoundFile Path"));
}

QWidget* BuildTopBar(QWidget* parent, MainWidgets& w) {
    w.pnlTop = Make<QWidget>(parent, "pnlTop");
    w.pnlTop->setFixedHeight(32);
    QWidget* p = w.pnlTop;
    w.btnTest = Place<QPushButton>(p, "btnTest", {4, 4, 90, 24}, QStringLiteral("発射テスト"));
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "ckTp" + QByteArray::number(i + 1);
        w.ckTp[i] = Place<QCheckBox>(p, name.constData(), {100 + i * 44, 6, 42, 20},
                                     QStringLiteral("IR%1").arg(i + 1));
        w.ckTp[i]->setChecked(true);
    }
    w.ckCursor = Place<QCheckBox>(p, "ckCursor", {282, 6, 100, 20}, QStringLiteral("Cursor Auto"));
    w.ckCursor->setChecked(true);
    w.btnTableWrite =
        Place<QPushButton>(p, "btnTableWrite", {388, 4, 100, 24}, QStringLiteral("QUVANに登録"));
    w.btnTableLoad =
        Place<QPushButton>(p, "btnTableLoad", {492, 4, 100, 24}, QStringLiteral("QUVAN読込み"));
    w.btnTablePrint =
        Place<QPushButton>(p, "btnTablePrint", {596, 4, 90, 24}, QStringLiteral("Table 印刷"));
    w.ckRF_ID = Place<QCheckBox>(p, "ckRF_ID", {696, 6, 64, 20}, QStringLiteral("RF-ID"));
    w.ckPcode = Place<QCheckBox>(p, "ckPcode", {764, 6, 70, 20}, QStringLiteral("PCode"));
    return w.pnlTop;
}

void BuildControlStrip(QWidget* parent, MainWidgets& w) {
    w.pnlCont = Make<ClickPanel>(parent, "pnlCont");
    w.pnlCont->setFixedHeight(56);
    QWidget* p = w.pnlCont;
    w.pnlAnalyze = Place<ClickPanel>(p, "pnlAnalyze", {4, 4, 76, 24});
    w.pnlAnalyze->setAlignment(Qt::AlignCenter);
    w.pnlAnalyze->setFrameShape(QFrame::Panel);
    w.pnlAnalyze->setFrameShadow(QFrame::Raised);
    w.pnlAnalyze->setAutoFillBackground(true);
    w.pnlAnalyze->setCursor(Qt::PointingHandCursor);
    w.ckLearningMsg =
        Place<QCheckBox>(p, "ckLearningMsg", {86, 6, 84, 20}, QStringLiteral("学習確認"));
    w.btnZoomLeft = Place<QPushButton>(p, "btnZoomLeft", {172, 4, 24, 24}, QStringLiteral("＜"));
    w.pnlZoom = Place<QLabel>(p, "pnlZoom", {198, 4, 56, 24});
    w.pnlZoom->setAlignment(Qt::AlignCenter);
    w.pnlZoom->setFrameShape(QFrame::Panel);
    w.pnlZoom->setFrameShadow(QFrame::Sunken);
    w.btnZoomRight = Place<QPushButton>(p, "btnZoomRight", {256, 4, 24, 24}, QStringLiteral("＞"));
    w.pgBar = Place<QProgressBar>(p, "pgBar", {286, 7, 218, 18});
    w.pgBar->setRange(0, 512);
    w.pgBar->setTextVisible(false);

    // The analysis tolerances and the learning time.
    w.pnlWaveData = Place<QLabel>(p, "pnlWaveData", {512, 2, 240, 28});
    w.pnlWaveData->setFrameShape(QFrame::Panel);
    w.pnlWaveData->setFrameShadow(QFrame::Sunken);
    QWidget* d = w.pnlWaveData;
    w.lblHrange = Place<QLabel>(d, "lblHrange", {4, 5, 18, 18}, QStringLiteral("H:"));
    w.edtHrange = Place<QLineEdit>(d, "edtHrange", {22, 3, 36, 22});
    w.lblWrange = Place<QLabel>(d, "lblWrange", {64, 5, 18, 18}, QStringLiteral("W:"));
    w.edtWrange = Place<QLineEdit>(d, "edtWrange", {82, 3, 36, 22});
    w.lblLtime = Place<QLabel>(d, "lblLtime", {124, 5, 58, 18}, QStringLiteral("Time(ms):"));
    w.edtLtime = Place<QLineEdit>(d, "edtLtime", {184, 3, 50, 22});
    w.edtHrange->setToolTip(QStringLiteral("Tolerance of the mark time, %"));
    w.edtWrange->setToolTip(QStringLiteral("Tolerance of the period, %"));
    w.edtLtime->setToolTip(QStringLiteral("Learning time, ms"));

    w.btnWaveClear =
        Place<QPushButton>(p, "btnWaveClear", {760, 4, 56, 24}, QStringLiteral("Clear"));
    w.btnWaveData = Place<QPushButton>(p, "btnWaveData", {820, 4, 56, 24}, QStringLiteral("Data"));
    w.btnWaveSave = Place<QPushButton>(p, "btnWaveSave", {880, 4, 56, 24}, QStringLiteral("Save"));
    w.btnWavePrint =
        Place<QPushButton>(p, "btnWavePrint", {940, 4, 56, 24}, QStringLiteral("Print"));

    // Second row: decoder options and the time-sampling parameters.
    w.ckCodeCheck =
        Place<QCheckBox>(p, "ckCodeCheck", {86, 32, 90, 20}, QStringLiteral("CodeCheck"));
    w.ckFullCode = Place<QCheckBox>(p, "ckFullCode", {180, 32, 78, 20}, QStringLiteral("FullCode"));
    w.ckEiritsu = Place<QCheckBox>(p, "ckEiritsu", {262, 32, 66, 20}, QStringLiteral("Eiritsu"));
    w.ckPhilips = Place<QCheckBox>(p, "ckPhilips", {330, 32, 66, 20}, QStringLiteral("Philips"));
    w.ckSerial = Place<QCheckBox>(p, "ckSerial", {398, 32, 58, 20}, QStringLiteral("Serial"));
    w.ckMultiHeader =
        Place<QCheckBox>(p, "ckMultiHeader", {458, 32, 96, 20}, QStringLiteral("MultiHeader"));
    w.lblTs = Place<QLabel>(p, "lblTs", {558, 34, 22, 18}, QStringLiteral("Ts:"));
    w.cmbTs = EditableCombo(p, "cmbTs", {580, 31, 62, 22});
    w.lblTw = Place<QLabel>(p, "lblTw", {646, 34, 24, 18}, QStringLiteral("Tw:"));
    w.cmbTw = EditableCombo(p, "cmbTw", {670, 31, 66, 22});
    w.lblBt = Place<QLabel>(p, "lblBt", {740, 34, 32, 18}, QStringLiteral("Bits:"));
    w.cmbBt = EditableCombo(p, "cmbBt", {772, 31, 52, 22});
    w.cmbSBit = EditableCombo(p, "cmbSBit", {828, 31, 44, 22});
}

QWidget* BuildWavePanel(QWidget* parent, MainWidgets& w, int waveLanes) {
    w.pnlWave = Make<QWidget>(parent, "pnlWave");
    auto* layout = new QVBoxLayout(w.pnlWave);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildControlStrip(w.pnlWave, w);
    layout->addWidget(w.pnlCont);
    w.waveViewport = Make<QWidget>(w.pnlWave, "waveViewport");
    layout->addWidget(w.waveViewport, 1);
    w.imgWave = new WaveView(waveLanes, w.waveViewport);
    w.scrBar = Make<QScrollBar>(w.pnlWave, "scrBar", Qt::Horizontal);
    w.scrBar->setRange(0, 100);
    layout->addWidget(w.scrBar);
    return w.pnlWave;
}

QWidget* BuildReceivePanel(QWidget* parent, MainWidgets& w) {
    w.pnlRecv = Make<QWidget>(parent, "pnlRecv");
    auto* layout = new QVBoxLayout(w.pnlRecv);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    auto* line = new QHBoxLayout;
    w.btnSend = Make<QPushButton>(w.pnlRecv, "btnSend", QStringLiteral("QUVANに送信"));
    w.cmbSendText = Make<QComboBox>(w.pnlRecv, "cmbSendText");
    w.cmbSendText->setEditable(true);
    w.cmbSendText->setInsertPolicy(QComboBox::NoInsert);
    w.btnRecvClear = Make<QPushButton>(w.pnlRecv, "btnRecvClear", QStringLiteral("Clear"));
    line->addWidget(w.btnSend);
    line->addWidget(w.cmbSendText, 1);
    line->addWidget(w.btnRecvClear);
    layout->addLayout(line);
    w.memoRecv = Make<QPlainTextEdit>(w.pnlRecv, "memoRecv");
    // Board lines such as "[012]:00560 001120" line up in a fixed-pitch font,
    // and the prints, which take the log's font, lay their columns out in
    // widths of "W".
    w.memoRecv->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    w.memoRecv->setReadOnly(true);
    w.memoRecv->setLineWrapMode(QPlainTextEdit::NoWrap);
    w.memoRecv->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(w.memoRecv, 1);
    return w.pnlRecv;
}

} // namespace

void BuildMainWidgets(QMainWindow& window, MainWidgets& w, int waveLanes) {
    BuildMenus(window, w);

    auto* central = Make<QWidget>(&window, "central");
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildTopBar(central, w));

    // The splitter sits between the upper part (grid and waves) and the
    // receive panel; the STD edition hides its handle.
    w.splRecv = Make<QSplitter>(central, "splRecv", Qt::Vertical);
    w.splRecv->setChildrenCollapsible(false);
    auto* upper = Make<QWidget>(w.splRecv, "upper");
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->setSpacing(0);
    w.sGrid = Make<QTableView>(upper, "sGrid");
    upperLayout->addWidget(w.sGrid, 1);
    upperLayout->addWidget(BuildWavePanel(upper, w, waveLanes));
    w.splRecv->addWidget(upper);
    w.splRecv->addWidget(BuildReceivePanel(w.splRecv, w));
    w.splRecv->setStretchFactor(0, 1);
    w.splRecv->setStretchFactor(1, 0);
    layout->addWidget(w.splRecv, 1);
    window.setCentralWidget(central);

    w.sBar = Make<ClickStatusBar>(&window, "sBar");
    w.sBar->setSizeGripEnabled(true);
    const std::array<int, 3> widths{80, 50, 50};
    for (std::size_t i = 0; i < w.sBarPanels.size(); ++i) {
        w.sBarPanels[i] = new QLabel(w.sBar);
        w.sBarPanels[i]->setObjectName(QStringLiteral("sBarPanel%1").arg(i));
        w.sBarPanels[i]->setMinimumWidth(widths[i]);
        w.sBarPanels[i]->setFrameShape(QFrame::Panel);
        w.sBarPanels[i]->setFrameShadow(QFrame::Sunken);
        w.sBar->addWidget(w.sBarPanels[i], i + 1 == w.sBarPanels.size() ? 1 : 0);
    }
    w.sBarCopyMark = new QLabel(w.sBar);
    w.sBarCopyMark->setObjectName(QStringLiteral("sBarCopyMark"));
    w.sBarCopyMark->setFrameShape(QFrame::Panel);
    w.sBarCopyMark->setFrameShadow(QFrame::Sunken);
    w.sBarCopyMark->hide();
    w.sBar->addPermanentWidget(w.sBarCopyMark);
    window.setStatusBar(w.sBar);
}

} // namespace quvan::app
