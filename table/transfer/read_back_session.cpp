#include "table/transfer/read_back_session.h"

#include "decode/entry_decoder.h"
#include "platform/user_text.h"
#include "table/hex_digit.h"
#include "table/learning_table.h"
#include "table/record_text.h"
#include "table/transfer/entry_commands.h"
#include "table/transfer/read_back_reply.h"

#include <algorithm>
#include <cstdio>

namespace quvan::transfer {

using user_text::Fill;
using user_text::Tr;

namespace {

std::string Format(const char* format, int a, int b) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// The head of a receive-log note about entry `row`.
std::string ErrorHead(int row) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", row);
    return Fill(Tr("ReadBack", "読込みエラー No.%1: "), {number});
}

} // namespace

ReadBackSession::ReadBackSession(LearningTable& table, ReadBackOptions options,
                                 ReadBackEffects& effects)
    : table_(table), options_(options), effects_(effects) {}

void ReadBackSession::start() {
    running_ = true;
    outcome_ = TransferOutcome::Running;
    effects_.sendCommand("ZEM:on");
    effects_.setCursor(2, ColCarry);
    request(1);
}

int ReadBackSession::waitMs() const {
    switch (wait_) {
    case Wait::Entry:
        return options_.entryWaitMs;
    case Wait::ZemOff:
        return options_.zemOffGraceMs;
    case Wait::None:
        break;
    }
    return 0;
}

void ReadBackSession::request(int entry) {
    requested_ = entry;
    effects_.progress(entry, options_.entries);
    std::string command = "Twl:";
    AppendZeroPadded(command, entry, 3);
    effects_.sendCommand(command);
    wait_ = Wait::Entry;
    ++waitSerial_;
}

void ReadBackSession::replyArrived() {
    if (wait_ != Wait::Entry) {
        return;
    }
    silentInRow_ = 0;
    nextRequest();
}

void ReadBackSession::waitTimedOut() {
    if (wait_ == Wait::ZemOff) {
        finish(TransferOutcome::BoardSilent);
        return;
    }
    if (wait_ != Wait::Entry) {
        return;
    }
    // A late reply still lands in its row, since each block names its entry.
    ++silentInRow_;
    if (options_.giveUpAfterSilent > 0 && silentInRow_ >= options_.giveUpAfterSilent) {
        gaveUp_ = true;
        sendZemOff();
        finish(TransferOutcome::BoardSilent);
        return;
    }
    nextRequest();
}

void ReadBackSession::nextRequest() {
    if (stopRequested_ || requested_ >= options_.entries) {
        endRequests();
        return;
    }
    request(requested_ + 1);
}

void ReadBackSession::endRequests() {
    // Normally the last entry's reply has sent "ZEM:off" already; when that
    // reply was lost or the user stopped, the board must still leave its
    // transfer mode.
    sendZemOff();
    wait_ = Wait::ZemOff;
    ++waitSerial_;
}

void ReadBackSession::sendZemOff() {
    if (!zemOffSent_) {
        zemOffSent_ = true;
        effects_.sendCommand("ZEM:off");
    }
}

void ReadBackSession::requestStop() {
    if (!running_) {
        return;
    }
    stopRequested_ = true;
    if (wait_ == Wait::Entry) {
        endRequests();
    }
}

void ReadBackSession::lineLost() {
    finish(TransferOutcome::LineLost);
}

void ReadBackSession::finish(TransferOutcome outcome) {
    if (!running_) {
        return;
    }
    closeOpenEntry(Tr("ReadBack", "応答が途中で終わりました"));
    running_ = false;
    wait_ = Wait::None;
    ++waitSerial_;
    outcome_ = outcome;
    if (outcome != TransferOutcome::LineLost) {
        effects_.setCursor(1, ColCarry);
    }
    // Rows read before the end are kept; they are not saved anywhere yet.
    if (stored_ > 0) {
        effects_.setTableModified();
    }
    effects_.finished(outcome);
}

bool ReadBackSession::validRow(int entry) const {
    return table_.validRow(entry);
}

void ReadBackSession::handleLine(const std::string& line) {
    if (!running_) {
        return;
    }
    const ReadBackReply reply = ParseReadBackReply(line);
    if (reply.kind == ReplyKind::ZemOn) {
        return;
    }
    if (reply.kind == ReplyKind::ZemOff) {
        zemOffReceived_ = true;
        effects_.appendLog("End of Table Load");
        finish(stopRequested_ ? TransferOutcome::StoppedByUser : TransferOutcome::Completed);
        return;
    }
    const bool errorLine = line.find("Error") != std::string::npos;
    if (options_.monitorMode && !errorLine) {
        effects_.appendLog(line);
    }
    switch (reply.kind) {
    case ReplyKind::Entry:
        entryLine(reply, line);
        break;
    case ReplyKind::Carry:
    case ReplyKind::DataBits:
    case ReplyKind::RepeatBit:
    case ReplyKind::Pattern:
        valueLine(reply);
        break;
    case ReplyKind::Codes:
        codesLine(reply);
        break;
    default:
        if (openEntry_ != 0) {
            problem(Fill(Tr("ReadBack", "読めない行「%1」"), {line}));
        }
        break;
    }
}

void ReadBackSession::entryLine(const ReadBackReply& reply, const std::string& line) {
    if (!options_.monitorMode && !reply.empty) {
        effects_.appendLog(line);
    }
    closeOpenEntry(Tr("ReadBack", "Twd:がありません"));
    const int n = reply.number.value_or(0);
    entry_ = n;
    if (n == 0) {
        return;
    }
    if (reply.empty) {
        effects_.setResponseFlag();
        ++answered_;
        if (validRow(n)) {
            table_.record(n).WriteFlag = kEmptyWriteFlag;
        }
        entryEnded(n);
        return;
    }
    if (!validRow(n)) {
        return; // no row to fill; its lines are passed over
    }
    effects_.setCursor(n, ColCarry);
    table_.record(n).WriteFlag = 0;
    openEntry_ = n;
    problems_.clear();
    pendingCarry_.clear();
    pendingFrames_.clear();
}

void ReadBackSession::valueLine(const ReadBackReply& reply) {
    if (!validRow(entry_)) {
        return;
    }
    LearnedSignal& record = table_.record(entry_);
    switch (reply.kind) {
    case ReplyKind::Carry:
        if (!reply.number) {
            problem("Twc:");
            return;
        }
        record.Carry = *reply.number;
        setCellOf(entry_, ColCarry, CarryCellText(reply.digits));
        return;
    case ReplyKind::DataBits:
        if (!reply.number || *reply.number > kMaxPatternCodes) {
            problem("Twb:");
            return;
        }
        record.DataBits = *reply.number;
        setCellOf(entry_, ColFrames, FramesCellText(record.DataBits));
        return;
    case ReplyKind::RepeatBit:
        if (!reply.number || *reply.number > kMaxPatternCodes) {
            problem("Twr:");
            return;
        }
        record.RepeatBit = *reply.number;
        return;
    case ReplyKind::Pattern:
        if (reply.patternIndex < 0 || !reply.high || !reply.width) {
            problem(reply.patternIndex < 0 ? std::string("Twp:")
                                           : Format("Twp:%X", reply.patternIndex, 0));
            return;
        }
        record.PatternHigh[static_cast<std::size_t>(reply.patternIndex)] = *reply.high;
        record.PatternWidth[static_cast<std::size_t>(reply.patternIndex)] = *reply.width;
        return;
    default:
        return;
    }
}

void ReadBackSession::codesLine(const ReadBackReply& reply) {
    const int n = entry_;
    if (validRow(n)) {
        LearnedSignal& record = table_.record(n);
        // An odd count arrives padded to an even number of digits; the
        // padding digit lands in entry DataBits, which means nothing.
        const int bits = std::clamp(record.DataBits, 0, kMaxPatternCodes);
        const int wanted = std::min(bits + bits % 2, kMaxPatternCodes);
        int k = 0;
        for (; k < wanted && k < static_cast<int>(reply.codes.size()); ++k) {
            const int value = HexDigitValue(reply.codes[static_cast<std::size_t>(k)]);
            if (value < 0) {
                break;
            }
            record.PatternCode[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(value);
        }
        if (k < wanted) {
            problem(
                Fill(Tr("ReadBack", "Twd:(%1/%2桁)"), {std::to_string(k), std::to_string(wanted)}));
        }
        if (openEntry_ == n) {
            writePendingCells();
        }
        const EntryDecoding decoded =
            DecodeLoadedEntry(record, options_.pcode, options_.proEdition);
        if (decoded.Comments) {
            table_.setCell(n, ColComments, *decoded.Comments);
        }
        table_.setCell(n, ColResult, decoded.Result);
        if (openEntry_ == n && !problems_.empty()) {
            markIncomplete(n);
        }
        openEntry_ = 0;
        ++stored_;
    }
    effects_.setResponseFlag();
    ++answered_;
    entryEnded(n);
}

void ReadBackSession::entryEnded(int entry) {
    if (entry == options_.entries) {
        sendZemOff();
        effects_.setTableModified();
    }
}

void ReadBackSession::problem(const std::string& what) {
    if (openEntry_ != 0) {
        problems_.push_back(what);
        return;
    }
    effects_.appendLog(ErrorHead(entry_) + what);
}

void ReadBackSession::closeOpenEntry(const std::string& why) {
    if (openEntry_ == 0) {
        return;
    }
    writePendingCells();
    problems_.emplace_back(why);
    markIncomplete(openEntry_);
    openEntry_ = 0;
}

void ReadBackSession::setCellOf(int row, int column, std::string text) {
    if (row != openEntry_) {
        table_.setCell(row, column, std::move(text));
    } else if (column == ColCarry) {
        pendingCarry_ = std::move(text);
    } else {
        pendingFrames_ = std::move(text);
    }
}

void ReadBackSession::writePendingCells() {
    if (openEntry_ == 0) {
        return;
    }
    if (!pendingCarry_.empty()) {
        table_.setCell(openEntry_, ColCarry, std::move(pendingCarry_));
    }
    if (!pendingFrames_.empty()) {
        table_.setCell(openEntry_, ColFrames, std::move(pendingFrames_));
    }
    pendingCarry_.clear();
    pendingFrames_.clear();
}

void ReadBackSession::markIncomplete(int row) {
    const std::string& comments = table_.cell(row, ColComments);
    std::string marked = Tr("ReadBack", "読込み不完全");
    if (!comments.empty()) {
        marked += ": " + comments;
    }
    table_.setCell(row, ColComments, marked);
    std::string text = ErrorHead(row);
    for (std::size_t i = 0; i < problems_.size(); ++i) {
        text += (i == 0 ? "" : ", ") + problems_[i];
    }
    effects_.appendLog(text);
    problems_.clear();
    incomplete_.push_back(row);
}

TransferMessage ReadBackSession::outcomeMessage() const {
    const std::string answered = std::to_string(answered_);
    const std::string entries = std::to_string(options_.entries);
    TransferMessage message;
    switch (outcome_) {
    case TransferOutcome::Completed:
        message = {1, Tr("ReadBack", "確認"), Tr("ReadBack", "読込み完了しました。")};
        break;
    case TransferOutcome::StoppedByUser:
        message = {1, Tr("ReadBack", "確認"),
                   Fill(Tr("ReadBack", "読込みを中止しました。\n応答のあったエントリー: %1 / %2"),
                        {answered, entries})};
        break;
    case TransferOutcome::BoardSilent:
        message = {
            1, Tr("ReadBack", "Warning"),
            Fill(gaveUp_
                     ? Tr("ReadBack", "QUVANから応答がありません。\n"
                                      "応答のあったエントリー: %1 / %2\n読込みを終了しました。")
                     : Tr("ReadBack", "QUVANから読込み終了の応答(ZEM:off)がありませんでした。\n"
                                      "応答のあったエントリー: %1 / %2\n読込みを終了しました。"),
                 {answered, entries})};
        break;
    case TransferOutcome::LineLost:
        message = {
            1, Tr("ReadBack", "Warning"),
            Fill(Tr("ReadBack", "QUVANとの通信が途絶えました。\n応答のあったエントリー: %1 / %2"),
                 {answered, entries})};
        break;
    case TransferOutcome::Running:
        return {};
    }
    if (!incomplete_.empty()) {
        message.text +=
            "\n" +
            Fill(Tr("ReadBack", "正しく読めなかった行が %1 行あります（Comments 欄に表示）。"),
                 {std::to_string(incomplete_.size())});
    }
    return message;
}

} // namespace quvan::transfer
