#include "tools/wave_edit_dialog.h"

#include "table/learning_table.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <algorithm>

namespace quvan::tools {
namespace {

constexpr int kGridRowHeight = 18;
constexpr int kGridRows = 17; // the header row and patterns 0..F
constexpr int kMargin = 8;
constexpr int kPcodeTop = 324;
constexpr int kClientHeight = 402;
constexpr int kByteCodeLeft = 76;
constexpr int kByteCodeMinWidth = 160; // room to type into an empty box

QLabel* Label(QWidget* parent, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

QLineEdit* Edit(QWidget* parent, const char* name, QRect geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    return edit;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    // Enter belongs to the edits (edtByteCode converts on it), never to a button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QTableWidgetItem* FixedCell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(QGuiApplication::palette().button());
    return item;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string S(const QString& text) {
    return text.toStdString();
}

} // namespace

TfrmWaveEdit::TfrmWaveEdit(LearningTable& table, WaveEditHost& host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      table_(table), host_(host) {
    FormCreate();
}

void TfrmWaveEdit::FormCreate() {
    setObjectName("frmWaveEdit");
    setWindowTitle(tr("WaveEdit"));
    setModal(false);

    sGrid = new QTableWidget(kGridRows, 3, this);
    sGrid->setObjectName("sGrid");
    sGrid->horizontalHeader()->hide();
    sGrid->verticalHeader()->hide();
    sGrid->verticalHeader()->setMinimumSectionSize(kGridRowHeight);
    sGrid->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    sGrid->setColumnWidth(0, 72);
    sGrid->setColumnWidth(1, 60);
    sGrid->setColumnWidth(2, 64);
    sGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    sGrid->setGeometry(kMargin, kMargin, 72 + 60 + 64 + 2 * sGrid->frameWidth(),
                       kGridRows * kGridRowHeight + 2 * sGrid->frameWidth());
    sGrid->setItem(0, 0, FixedCell(tr(" Pcode")));
    sGrid->setItem(0, 1, FixedCell(tr(" High")));
    sGrid->setItem(0, 2, FixedCell(tr(" Width")));
    for (int k = 0; k < kPatternSlots; ++k) {
        sGrid->setItem(k + 1, 0, FixedCell(tr(" Pcode:%1").arg(QString::number(k, 16).toUpper())));
        sGrid->setItem(k + 1, 1, new QTableWidgetItem);
        sGrid->setItem(k + 1, 2, new QTableWidgetItem);
    }
    sGrid->setCurrentCell(1, 1);

    constexpr int kLabelX = 222;
    constexpr int kEditX = 282;
    Label(this, tr("Carry"), {kLabelX, 12, 58, 18});
    edtCarry = Edit(this, "edtCarry", {kEditX, 10, 48, 22});
    Label(this, tr("DataBits"), {kLabelX, 40, 58, 18});
    edtDataBits = Edit(this, "edtDataBits", {kEditX, 38, 48, 22});
    Label(this, tr("RepeatBit"), {kLabelX, 68, 58, 18});
    edtRepeatBit = Edit(this, "edtRepeatBit", {kEditX, 66, 48, 22});
    for (QLineEdit* edit : {edtCarry, edtDataBits, edtRepeatBit})
        edit->setAlignment(Qt::AlignRight);

    btnIrOut = Button(this, "btnIrOut", tr("IR Out"), {250, 222, 80, 25});
    btnOk = Button(this, "btnOk", tr("OK"), {250, 258, 80, 25});
    btnCancel = Button(this, "btnCancel", tr("ｷｬﾝｾﾙ"), {250, 294, 80, 25});

    // The ruler and the code share one fixed-pitch font, so each ruler mark
    // stands above its digit; the ruler follows the code when it scrolls.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    rulerClip_ = new QWidget(this);
    rulerClip_->setGeometry(kMargin, kPcodeTop, kClientWidth - 2 * kMargin, 16);
    lblPcode = new QLabel(tr("Pattern Code"), rulerClip_);
    lblPcode->setObjectName("lblPcode");
    lblPcode->setFont(fixed);
    lblPcode->adjustSize();
    edtPcode = Edit(this, "edtPcode", {kMargin, kPcodeTop + 17, kClientWidth - 2 * kMargin, 22});
    edtPcode->setFont(fixed);
    Label(this, tr("ByteCode"), {kMargin, kPcodeTop + 50, 64, 18});
    edtByteCode = Edit(this, "edtByteCode", {kByteCodeLeft, kPcodeTop + 48, kByteCodeMinWidth, 22});
    edtByteCode->setFont(fixed);

    connect(edtPcode, &QLineEdit::textChanged, this, &TfrmWaveEdit::edtPcodeChange);
    connect(edtPcode, &QLineEdit::cursorPositionChanged, this, &TfrmWaveEdit::FollowPcodeScroll);
    connect(edtByteCode, &QLineEdit::returnPressed, this, &TfrmWaveEdit::ByteCodeToPatternCode);
    connect(btnIrOut, &QPushButton::clicked, this, &TfrmWaveEdit::btnIrOutClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmWaveEdit::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QWidget::hide);

    setFixedSize(btnOk->geometry().right() + 1 + kMargin, kClientHeight);
}

WaveEditTexts TfrmWaveEdit::texts() const {
    WaveEditTexts t;
    t.Carry = S(edtCarry->text());
    t.DataBits = S(edtDataBits->text());
    t.RepeatBit = S(edtRepeatBit->text());
    for (int k = 0; k < kPatternSlots; ++k) {
        t.High[static_cast<std::size_t>(k)] = S(sGrid->item(k + 1, 1)->text());
        t.Width[static_cast<std::size_t>(k)] = S(sGrid->item(k + 1, 2)->text());
    }
    t.Pcode = S(edtPcode->text());
    t.ByteCode = S(edtByteCode->text());
    return t;
}

void TfrmWaveEdit::setTexts(const WaveEditTexts& t) {
    edtCarry->setText(Q(t.Carry));
    edtDataBits->setText(Q(t.DataBits));
    edtRepeatBit->setText(Q(t.RepeatBit));
    edtPcode->setText(Q(t.Pcode));
    for (int k = 0; k < kPatternSlots; ++k) {
        sGrid->item(k + 1, 1)->setText(Q(t.High[static_cast<std::size_t>(k)]));
        sGrid->item(k + 1, 2)->setText(Q(t.Width[static_cast<std::size_t>(k)]));
    }
    edtByteCode->setText(Q(t.ByteCode));
}

void TfrmWaveEdit::OpenForSelectedRow() {
    const int row = host_.selectedRow();
    if (!table_.validRow(row))
        return;
    setTexts(WaveEditTextsOf(table_, row));
    edtPcode->setCursorPosition(0);
    lblPcode->setText(Q(PatternRuler(static_cast<int>(edtPcode->text().size()))));
    lblPcode->adjustSize();
    FitWidthToRuler();
    FitByteCodeWidth();
    FollowPcodeScroll();

    // Over the row's Frames cell, but never off the screen.
    QPoint at = host_.framesCellOnScreen(row);
    if (const QScreen* screen = QGuiApplication::screenAt(at) ? QGuiApplication::screenAt(at)
                                                              : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(at);
    show();
    raise();
    activateWindow();
}

void TfrmWaveEdit::FitWidthToRuler() {
    int width = std::max(kClientWidth, lblPcode->width() + 32);
    if (const QScreen* screen = this->screen())
        width = std::min(width, std::max(kClientWidth, screen->availableGeometry().width() - 16));
    setFixedSize(width, kClientHeight);
    rulerClip_->resize(width - 2 * kMargin, rulerClip_->height());
    edtPcode->resize(width - 2 * kMargin, edtPcode->height());
}

void TfrmWaveEdit::FitByteCodeWidth() {
    const int wanted = 8 * static_cast<int>(edtByteCode->text().size());
    const int room = width() - kByteCodeLeft - kMargin;
    edtByteCode->resize(std::clamp(wanted, std::min(kByteCodeMinWidth, room), room),
                        edtByteCode->height());
}

void TfrmWaveEdit::edtPcodeChange() {
    const int length = static_cast<int>(edtPcode->text().size());
    edtDataBits->setText(QString::number(length));
    lblPcode->setText(length == 0 ? tr("Pattern Code") : Q(PatternRuler(length)));
    lblPcode->adjustSize();
    FollowPcodeScroll();
}

void TfrmWaveEdit::FollowPcodeScroll() {
    // Where the edit draws its first character: the cursor's rectangle sits
    // five pixels left of the cursor, which stands after the text before it.
    const QString text = edtPcode->text();
    const int beforeCursor =
        edtPcode->fontMetrics().horizontalAdvance(text.left(edtPcode->cursorPosition()));
    const QRect cursor = edtPcode->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int textLeft = cursor.x() + 5 - beforeCursor;
    lblPcode->move(textLeft, 0);
}

void TfrmWaveEdit::ByteCodeToPatternCode() {
    const int row = host_.selectedRow();
    const LearnedSignal selected = table_.validRow(row) ? table_.record(row) : LearnedSignal{};
    edtPcode->setText(Q(tools::ByteCodeToPatternCode(S(edtByteCode->text()), selected)));
}

void TfrmWaveEdit::Refuse(const std::string& refusal, const QString& consequence) {
    host_.showMessage(1, tr("Warning"), Q(refusal) + "\n" + consequence);
}

void TfrmWaveEdit::btnIrOutClick() {
    const WaveEditTexts edited = texts();
    if (edited.Pcode.empty())
        return;
    const WaveEditReading reading = ReadWaveEdit(edited);
    if (!reading.signal) {
        Refuse(reading.refusal, tr("送信していません。"));
        return;
    }
    if (!host_.connectBoard()) {
        const QString advice = host_.noBoardAdvice();
        host_.showMessage(1, tr("Warning"),
                          tr("QUVANと通信出来ません。") + (advice.isEmpty() ? QString() : "\n" + advice));
        return;
    }
    host_.setLearningIndicator(false);
    for (const std::string& command :
         IrOutCommands(*reading.signal, edited.Pcode, host_.outputs())) {
        host_.sendCommand(command);
        host_.appendLog(Q(command));
    }
}

void TfrmWaveEdit::btnOkClick() {
    const int source = host_.selectedRow();
    if (!table_.validRow(source))
        return;
    const WaveEditTexts edited = texts();
    const WaveEditReading reading = ReadWaveEdit(edited);
    if (!reading.signal) {
        Refuse(reading.refusal, tr("保存していません。"));
        return;
    }
    const int target = WaveEditTargetRow(table_, source);
    if (target < table_.rowCount() && table_.isBlank(target))
        host_.selectRow(target);
    const StoreOutcome outcome =
        StoreEditedSignal(table_, source, target, *reading.signal, edited.ByteCode);
    host_.setTableModified();
    hide();
    if (outcome.byteCodeNotStored)
        host_.showMessage(1, tr("確認"),
                          tr("Result に \"d:\" がないため、ByteCode は保存していません。\n"
                             "Result はそのままです。"));
}

} // namespace quvan::tools
