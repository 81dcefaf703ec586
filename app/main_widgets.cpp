#include "app/main_widgets.h"

#include "capture/view/wave_view.h"

#include <QActionGroup>
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

// An action of the "操作" menu with its shortcut, which it keeps working
// while the focus is anywhere in the window.
QAction* ShortcutAction(QMenu* menu, const char* name, const QString& text, QKeySequence keys) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

void BuildMenus(QMainWindow& window, MainWidgets& w) {
    QMenuBar* bar = window.menuBar();
    w.mmFile = bar->addMenu(MainWidgets::tr("ファイル(&F)"));
    w.mmFile->setObjectName("mmFile");
    w.mmNew = w.mmFile->addAction(MainWidgets::tr("新規作成 (&New)"));
    w.mmOpen = w.mmFile->addAction(MainWidgets::tr("ファイルを開く (&Open)"));
    w.mmSave = w.mmFile->addAction(MainWidgets::tr("ファイルに保存 (&Save)"));
    w.mmFile->addSeparator();
    w.mmImport = w.mmFile->addAction(MainWidgets::tr("インポート (&Import)..."));
    w.mmExport = w.mmFile->addAction(MainWidgets::tr("エクスポート (&Export)..."));
    w.mmImport->setObjectName("mmImport");
    w.mmExport->setObjectName("mmExport");
    w.mmImport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    w.mmExport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    w.mmFile->addSeparator();
    w.mmCom = w.mmFile->addAction(MainWidgets::tr("通信設定 (&Com)"));
    w.mmUsbDriver = w.mmFile->addAction(MainWidgets::tr("&USB Driver Install"));
    w.mmFirmware = w.mmFile->addAction(MainWidgets::tr("&Firmware Update (ファームウェアの更新)"));
    w.mmFile->addSeparator();
    w.mmQuit = w.mmFile->addAction(MainWidgets::tr("終了 (&Quit)"));
    w.mmNew->setShortcut(QKeySequence::New);
    w.mmOpen->setShortcut(QKeySequence::Open);
    w.mmSave->setShortcut(QKeySequence::Save);
    w.mmQuit->setShortcut(QKeySequence::Quit);
    for (auto [action, name] : {std::pair{w.mmNew, "mmNew"},
                                {w.mmOpen, "mmOpen"},
                                {w.mmSave, "mmSave"},
                                {w.mmCom, "mmCom"},
                                {w.mmUsbDriver, "mmUsbDriver"},
                                {w.mmFirmware, "mmFirmware"},
                                {w.mmQuit, "mmQuit"}})
        action->setObjectName(QString::fromLatin1(name));

    // The frequent actions, so that their shortcuts can be looked up.
    w.mmAction = bar->addMenu(MainWidgets::tr("操作(&A)"));
    w.mmAction->setObjectName("mmAction");
    w.mmLearning = ShortcutAction(w.mmAction, "mmLearning", MainWidgets::tr("学習 On/Off (&L)"),
                                  QKeySequence(Qt::CTRL | Qt::Key_L));
    w.mmFire = ShortcutAction(w.mmAction, "mmFire", MainWidgets::tr("発射テスト (&T)"),
                              QKeySequence(Qt::CTRL | Qt::Key_T));
    w.mmAction->addSeparator();
    w.mmZoomIn = ShortcutAction(w.mmAction, "mmZoomIn", MainWidgets::tr("波形を拡大 (&I)"),
                                QKeySequence::ZoomIn);
    w.mmZoomOut = ShortcutAction(w.mmAction, "mmZoomOut", MainWidgets::tr("波形を縮小 (&O)"),
                                 QKeySequence::ZoomOut);
    w.mmAction->addSeparator();
    // Ctrl with the arrows: the plain arrows belong to the grid and its editor.
    w.mmNextRow = ShortcutAction(w.mmAction, "mmNextRow", MainWidgets::tr("次の行 (&N)"),
                                 QKeySequence(Qt::CTRL | Qt::Key_Down));
    w.mmPrevRow = ShortcutAction(w.mmAction, "mmPrevRow", MainWidgets::tr("前の行 (&P)"),
                                 QKeySequence(Qt::CTRL | Qt::Key_Up));

    w.mmOption = bar->addMenu(MainWidgets::tr("オプション(&O)"));
    w.mmOption->setObjectName("mmOption");
    w.mmOptionDipsw = w.mmOption->addAction(MainWidgets::tr("&DIP Switch Setup"));
    w.mmSystemPath = w.mmOption->addMenu(MainWidgets::tr("&SystemPath Setup"));
    w.mmSystemPath->setObjectName("mmSystemPath");
    w.mmOptionCsv = w.mmSystemPath->addAction(MainWidgets::tr("&CsvFile Path"));
    w.mmOptionHex = w.mmSystemPath->addAction(MainWidgets::tr("&HexFile Path"));
    w.mmOptionSnd = w.mmSystemPath->addAction(MainWidgets::tr("&SoundFile Path"));
    // Each language under its own name, so that a user who cannot read the
    // window's language still finds theirs.
    w.mmLanguage = w.mmOption->addMenu(MainWidgets::tr("言語 (&Language)"));
    w.mmLanguage->setObjectName("mmLanguage");
    w.mmLanguage->setToolTipsVisible(true);
    auto* languages = new QActionGroup(w.mmLanguage);
    w.mmLanguageJa = w.mmLanguage->addAction(QStringLiteral("日本語"));
    w.mmLanguageEn = w.mmLanguage->addAction(QStringLiteral("English"));
    for (auto [action, name] :
         {std::pair{w.mmLanguageJa, "mmLanguageJa"}, {w.mmLanguageEn, "mmLanguageEn"}}) {
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        action->setToolTip(MainWidgets::tr("次回の起動から有効になります"));
        languages->addAction(action);
    }
}

// A control's tooltip, with the shortcut of the action that does the same.
QString WithShortcut(const QString& text, const QAction* action) {
    return QStringLiteral("%1 (%2)").arg(text,
                                         action->shortcut().toString(QKeySequence::NativeText));
}

QWidget* BuildTopBar(QWidget* parent, MainWidgets& w) {
    w.pnlTop = Make<QWidget>(parent, "pnlTop");
    w.pnlTop->setFixedHeight(32);
    QWidget* p = w.pnlTop;
    w.btnTest = Place<QPushButton>(p, "btnTest", {4, 4, 90, 24}, MainWidgets::tr("発射テスト"));
    w.btnTest->setToolTip(WithShortcut(
        MainWidgets::tr("カーソル行の信号を、チェックした出力から発射します"), w.mmFire));
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "ckTp" + QByteArray::number(i + 1);
        w.ckTp[i] = Place<QCheckBox>(p, name.constData(), {100 + i * 44, 6, 42, 20},
                                     MainWidgets::tr("IR%1").arg(i + 1));
        w.ckTp[i]->setChecked(true);
        w.ckTp[i]->setToolTip(MainWidgets::tr("発射テストで出力 IR%1 を使います").arg(i + 1));
    }
    w.ckCursor = Place<QCheckBox>(p, "ckCursor", {282, 6, 100, 20}, MainWidgets::tr("Cursor Auto"));
    w.ckCursor->setChecked(true);
    w.ckCursor->setToolTip(MainWidgets::tr("学習が終わると次の空き行に移り、学習を続けます"));
    w.btnTableWrite =
        Place<QPushButton>(p, "btnTableWrite", {388, 4, 100, 24}, MainWidgets::tr("QUVANに登録"));
    w.btnTableWrite->setToolTip(MainWidgets::tr("テーブルの学習情報を QUVAN に登録します"));
    w.btnTableLoad =
        Place<QPushButton>(p, "btnTableLoad", {492, 4, 100, 24}, MainWidgets::tr("QUVAN読込み"));
    w.btnTableLoad->setToolTip(
        MainWidgets::tr("QUVAN に登録されている学習情報をテーブルに読込みます"));
    w.btnTablePrint =
        Place<QPushButton>(p, "btnTablePrint", {596, 4, 90, 24}, MainWidgets::tr("Table 印刷"));
    w.btnTablePrint->setToolTip(MainWidgets::tr("テーブルを印刷します"));
    w.ckRF_ID = Place<QCheckBox>(p, "ckRF_ID", {696, 6, 64, 20}, MainWidgets::tr("RF-ID"));
    w.ckRF_ID->setToolTip(MainWidgets::tr("QUVAN の RF-ID 機能をオン/オフします"));
    w.ckPcode = Place<QCheckBox>(p, "ckPcode", {764, 6, 70, 20}, MainWidgets::tr("PCode"));
    w.ckPcode->setToolTip(
        MainWidgets::tr("フォーマットを認識せず、Pattern Code をそのまま Result に表示します"));
    return w.pnlTop;
}

void BuildControlStrip(QWidget* parent, MainWidgets& w) {
    w.pnlCont = Make<ClickPanel>(parent, "pnlCont");
    w.pnlCont->setFixedHeight(56);
    w.pnlCont->setToolTip(
        MainWidgets::tr("ダブルクリックで、その他のオプションを表示/非表示にします"));
    QWidget* p = w.pnlCont;
    w.pnlAnalyze = Place<ClickPanel>(p, "pnlAnalyze", {4, 4, 76, 24});
    w.pnlAnalyze->setToolTip(
        WithShortcut(MainWidgets::tr("クリックで学習を開始/終了します"), w.mmLearning));
    w.pnlAnalyze->setAlignment(Qt::AlignCenter);
    w.pnlAnalyze->setFrameShape(QFrame::Panel);
    w.pnlAnalyze->setFrameShadow(QFrame::Raised);
    w.pnlAnalyze->setAutoFillBackground(true);
    w.pnlAnalyze->setCursor(Qt::PointingHandCursor);
    w.ckLearningMsg =
        Place<QCheckBox>(p, "ckLearningMsg", {86, 6, 84, 20}, MainWidgets::tr("学習確認"));
    w.ckLearningMsg->setToolTip(
        MainWidgets::tr("学習が終わるとメッセージで知らせます（オフのときは音だけ）"));
    w.btnZoomLeft = Place<QPushButton>(p, "btnZoomLeft", {172, 4, 24, 24}, MainWidgets::tr("＜"));
    w.btnZoomLeft->setToolTip(WithShortcut(MainWidgets::tr("波形を拡大します"), w.mmZoomIn));
    w.pnlZoom = Place<QLabel>(p, "pnlZoom", {198, 4, 56, 24});
    w.pnlZoom->setAlignment(Qt::AlignCenter);
    w.pnlZoom->setFrameShape(QFrame::Panel);
    w.pnlZoom->setFrameShadow(QFrame::Sunken);
    w.pnlZoom->setToolTip(MainWidgets::tr("波形の表示倍率（1ピクセルあたりの µs）"));
    w.btnZoomRight = Place<QPushButton>(p, "btnZoomRight", {256, 4, 24, 24}, MainWidgets::tr("＞"));
    w.btnZoomRight->setToolTip(WithShortcut(MainWidgets::tr("波形を縮小します"), w.mmZoomOut));
    w.pgBar = Place<QProgressBar>(p, "pgBar", {286, 7, 218, 18});
    w.pgBar->setRange(0, 512);
    w.pgBar->setTextVisible(false);
    w.pgBar->setToolTip(MainWidgets::tr("学習時間の経過"));

    // The analysis tolerances and the learning time.
    w.pnlWaveData = Place<QLabel>(p, "pnlWaveData", {512, 2, 240, 28});
    w.pnlWaveData->setFrameShape(QFrame::Panel);
    w.pnlWaveData->setFrameShadow(QFrame::Sunken);
    w.pnlWaveData->setToolTip(MainWidgets::tr("解析の許容誤差と学習時間"));
    QWidget* d = w.pnlWaveData;
    w.lblHrange = Place<QLabel>(d, "lblHrange", {4, 5, 18, 18}, MainWidgets::tr("H:"));
    w.edtHrange = Place<QLineEdit>(d, "edtHrange", {22, 3, 36, 22});
    w.lblWrange = Place<QLabel>(d, "lblWrange", {64, 5, 18, 18}, MainWidgets::tr("W:"));
    w.edtWrange = Place<QLineEdit>(d, "edtWrange", {82, 3, 36, 22});
    w.lblLtime = Place<QLabel>(d, "lblLtime", {124, 5, 58, 18}, MainWidgets::tr("Time(ms):"));
    w.edtLtime = Place<QLineEdit>(d, "edtLtime", {184, 3, 50, 22});
    w.edtHrange->setToolTip(MainWidgets::tr("マーク時間の許容誤差 (%)"));
    w.edtWrange->setToolTip(MainWidgets::tr("周期の許容誤差 (%)"));
    w.edtLtime->setToolTip(MainWidgets::tr("学習時間 (ms)"));

    w.btnWaveClear =
        Place<QPushButton>(p, "btnWaveClear", {760, 4, 56, 24}, MainWidgets::tr("Clear"));
    w.btnWaveClear->setToolTip(MainWidgets::tr("波形と受信ログを消去します"));
    w.btnWaveData = Place<QPushButton>(p, "btnWaveData", {820, 4, 56, 24}, MainWidgets::tr("Data"));
    w.btnWaveData->setToolTip(MainWidgets::tr("波形データのウィンドウを開きます"));
    w.btnWaveSave = Place<QPushButton>(p, "btnWaveSave", {880, 4, 56, 24}, MainWidgets::tr("Save"));
    w.btnWaveSave->setToolTip(MainWidgets::tr("波形をテキストファイルに保存します"));
    w.btnWavePrint =
        Place<QPushButton>(p, "btnWavePrint", {940, 4, 56, 24}, MainWidgets::tr("Print"));
    w.btnWavePrint->setToolTip(MainWidgets::tr("波形を印刷します"));

    // Second row: decoder options and the time-sampling parameters.
    w.ckCodeCheck =
        Place<QCheckBox>(p, "ckCodeCheck", {86, 32, 90, 20}, MainWidgets::tr("CodeCheck"));
    w.ckCodeCheck->setToolTip(
        MainWidgets::tr("学習した信号を各行の Result と照合します（テーブルには書込みません）"));
    w.ckFullCode =
        Place<QCheckBox>(p, "ckFullCode", {180, 32, 78, 20}, MainWidgets::tr("FullCode"));
    w.ckFullCode->setToolTip(
        MainWidgets::tr("全てのフレームのコードを表示します（フレームごとに受信ログにも）"));
    w.ckEiritsu = Place<QCheckBox>(p, "ckEiritsu", {262, 32, 66, 20}, MainWidgets::tr("Eiritsu"));
    w.ckEiritsu->setToolTip(MainWidgets::tr("Eiritsu 方式の時間サンプリングで解読します"));
    w.ckPhilips = Place<QCheckBox>(p, "ckPhilips", {330, 32, 66, 20}, MainWidgets::tr("Philips"));
    w.ckPhilips->setToolTip(
        MainWidgets::tr("Philips（バイフェーズ）方式の時間サンプリングで解読します"));
    w.ckSerial = Place<QCheckBox>(p, "ckSerial", {398, 32, 58, 20}, MainWidgets::tr("Serial"));
    w.ckSerial->setToolTip(MainWidgets::tr("シリアル方式の時間サンプリングで解読します"));
    w.ckMultiHeader =
        Place<QCheckBox>(p, "ckMultiHeader", {458, 32, 96, 20}, MainWidgets::tr("MultiHeader"));
    w.ckMultiHeader->setToolTip(
        MainWidgets::tr("フォーマットを認識せず、Pattern Code を Result に表示します"));
    w.lblTs = Place<QLabel>(p, "lblTs", {558, 34, 22, 18}, MainWidgets::tr("Ts:"));
    w.cmbTs = EditableCombo(p, "cmbTs", {580, 31, 62, 22});
    w.cmbTs->setToolTip(MainWidgets::tr("Ts: 最初のサンプルの位置 (µs)"));
    w.lblTw = Place<QLabel>(p, "lblTw", {646, 34, 24, 18}, MainWidgets::tr("Tw:"));
    w.cmbTw = EditableCombo(p, "cmbTw", {670, 31, 66, 22});
    w.cmbTw->setToolTip(MainWidgets::tr("Tw: サンプルの間隔 (µs)"));
    w.lblBt = Place<QLabel>(p, "lblBt", {740, 34, 32, 18}, MainWidgets::tr("Bits:"));
    w.cmbBt = EditableCombo(p, "cmbBt", {772, 31, 52, 22});
    w.cmbBt->setToolTip(MainWidgets::tr("Bits: 1フレームのビット数"));
    w.cmbSBit = EditableCombo(p, "cmbSBit", {828, 31, 44, 22});
    w.cmbSBit->setToolTip(MainWidgets::tr("1バイトのビット数（Serial）"));
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
    w.imgWave->setToolTip(
        MainWidgets::tr("右クリックで始点、左クリックで終点を置き、その間の時間を測ります"));
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
    w.btnSend = Make<QPushButton>(w.pnlRecv, "btnSend", MainWidgets::tr("QUVANに送信"));
    w.btnSend->setToolTip(MainWidgets::tr("入力したコマンドを QUVAN に送信します"));
    w.cmbSendText = Make<QComboBox>(w.pnlRecv, "cmbSendText");
    w.cmbSendText->setEditable(true);
    w.cmbSendText->setInsertPolicy(QComboBox::NoInsert);
    w.cmbSendText->setToolTip(
        MainWidgets::tr("QUVAN に送るコマンド（受信ログの m: で始まる行を"
                        "ダブルクリックすると、その発射コマンドが入ります）"));
    w.btnRecvClear = Make<QPushButton>(w.pnlRecv, "btnRecvClear", MainWidgets::tr("Clear"));
    w.btnRecvClear->setToolTip(MainWidgets::tr("受信ログを消去します"));
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
    w.sBar->setToolTip(MainWidgets::tr("ダブルクリックでモニターモードを切り替えます"));
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
