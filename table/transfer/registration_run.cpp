#include "table/transfer/registration_run.h"

#include "platform/user_text.h"
#include "table/learning_table.h"
#include "table/transfer/entry_commands.h"

#include <algorithm>
#include <cstdio>

namespace quvan::transfer {

using user_text::Fill;
using user_text::Tr;

RegistrationRun::RegistrationRun(LearningTable& table, RegistrationOptions options,
                                 RegistrationEffects& effects)
    : table_(table), options_(std::move(options)), effects_(effects) {}

int RegistrationRun::nextRowFrom(int row) const {
    // In skip mode blank rows are passed over without touching the cursor.
    for (int r = std::max(row, 1); r <= table_.rowCount(); ++r) {
        if (options_.eraseBlank || !table_.isBlank(r)) {
            return r;
        }
    }
    return 0;
}

int RegistrationRun::countPlannedRows() const {
    const int first = options_.writeAll ? 1 : options_.cursorRow;
    if (!options_.writeAll) {
        return nextRowFrom(first) != 0 ? 1 : 0;
    }
    int count = 0;
    for (int r = nextRowFrom(first); r != 0; r = nextRowFrom(r + 1)) {
        ++count;
    }
    return count;
}

void RegistrationRun::start() {
    const int first = options_.writeAll ? 1 : options_.cursorRow;
    effects_.setCursor(first, ColCarry);
    planned_ = countPlannedRows();
    row_ = nextRowFrom(first);
    if (row_ == 0) {
        finish(TransferOutcome::Completed);
        return;
    }
    sendRow(row_);
}

void RegistrationRun::sendRow(int row) {
    LearnedSignal& signal = table_.record(row);
    signal.WriteFlag = table_.isBlank(row) ? kEmptyWriteFlag : 0;
    effects_.setCursor(row, ColCarry);
    effects_.rowStarted(row, ++sent_, planned_);
    for (const std::string& command : EntryCommands(signal)) {
        effects_.sendCommand(command);
    }
    const std::string store = StoreCommand(row);
    effects_.sendCommand(store);
    effects_.showStoreCommand(store);
    awaiting_ = true;
}

void RegistrationRun::ackReceived() {
    if (!awaiting_) {
        return;
    }
    awaiting_ = false;
    stored_.push_back(row_);
    effects_.rowStored(row_);
    advance();
}

void RegistrationRun::ackTimedOut() {
    if (!awaiting_) {
        return;
    }
    awaiting_ = false;
    // Whether the board kept this row is unknown; it counts as not stored.
    silentRow_ = row_;
    finish(TransferOutcome::BoardSilent);
}

void RegistrationRun::lineLost() {
    if (finished()) {
        return;
    }
    awaiting_ = false;
    finish(TransferOutcome::LineLost);
}

void RegistrationRun::advance() {
    if (stopRequested_) {
        finish(TransferOutcome::StoppedByUser);
        return;
    }
    const int next = options_.writeAll ? nextRowFrom(row_ + 1) : 0;
    if (next == 0) {
        finish(TransferOutcome::Completed);
        return;
    }
    row_ = next;
    sendRow(row_);
}

void RegistrationRun::finish(TransferOutcome outcome) {
    outcome_ = outcome;
    if (outcome != TransferOutcome::Completed) {
        // Only a run whose every row was acknowledged is made permanent.
        return;
    }
    if (WantsFlashWrite(options_.boardVersion)) {
        effects_.sendCommand(std::string(kFlashWriteCommand));
        flashWriteSent_ = true;
    }
    if (options_.writeAll) {
        effects_.setCursor(1, ColCarry);
    }
}

TransferMessage RegistrationRun::outcomeMessage() const {
    switch (outcome_) {
    case TransferOutcome::Completed:
        return {1, Tr("Registration", "確認"), Tr("Registration", "登録完了しました。")};
    case TransferOutcome::StoppedByUser:
        return {1, Tr("Registration", "確認"), Tr("Registration", "登録を中止しました。")};
    case TransferOutcome::BoardSilent: {
        char row[16];
        std::snprintf(row, sizeof row, "%03d", silentRow_);
        return {1, Tr("Registration", "Warning"),
                Fill(Tr("Registration",
                        "QUVANから応答がありません。\n%1行目の登録でACKが返りませんでした。\n"
                        "登録できたのは %2 行です。登録を中断しました。"),
                     {row, std::to_string(stored_.size())})};
    }
    case TransferOutcome::LineLost:
        return {
            1, Tr("Registration", "Warning"),
            Fill(Tr("Registration", "QUVANとの通信が途絶えました。\n登録できたのは %1 行です。"),
                 {std::to_string(stored_.size())})};
    case TransferOutcome::Running:
        break;
    }
    return {};
}

} // namespace quvan::transfer
