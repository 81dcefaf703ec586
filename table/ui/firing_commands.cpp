// Test firing and the free command line of the main window.
#include "link/board_link.h"
#include "table/learning_table.h"
#include "table/transfer/test_firing.h"
#include "table/ui/board_transfers.h"
#include "table/ui/read_back_driver.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "table/ui/transfer_host.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <algorithm>

namespace quvan::table_ui {

void BoardTransfers::TestFire() {
    if (!portOpenOrWarn()) {
        return;
    }
    const bool monitor = commands_.monitorMode();
    host_.setLearningIndicator(false);
    TableGrid& grid = commands_.grid();
    const int row = grid.cursorRow();
    const bool resultColumn = grid.cursorColumn() == ColResult;
    grid.setCursor(row, ColCarry);

    transfer::FireOptions options;
    for (std::size_t i = 0; i < c_.ckTp.size(); ++i) {
        options.outputs[i] = c_.ckTp[i]->isChecked();
    }
    options.byResult = resultColumn;
    const std::vector<transfer::FireCommand> commands =
        transfer::TestFireCommands(table_, row, options);
    if (commands.empty()) {
        return; // a blank row fires nothing
    }
    for (const transfer::FireCommand& command : commands) {
        link_.SendCommand(command.text);
        if (monitor || command.alwaysLogged) {
            host_.appendLog(QString::fromStdString(command.text));
        }
    }
    if (c_.ckCursor->isChecked() && row < table_.rowCount()) {
        grid.setCursor(row + 1, resultColumn ? ColResult : ColCarry);
    }
}

void BoardTransfers::AddSendHistory(const QString& text) {
    if (c_.cmbSendText->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        c_.cmbSendText->addItem(text);
    }
}

void BoardTransfers::SendText() {
    if (!portOpenOrWarn()) {
        return;
    }
    const QString text = c_.cmbSendText->currentText();
    if (text.isEmpty()) {
        return;
    }
    AddSendHistory(text);
    link_.SendCommand(text.toStdString());
}

void BoardTransfers::SendTextEntered() {
    const QString text = c_.cmbSendText->currentText();
    if (text.isEmpty()) {
        return;
    }
    // Nothing is sent yet: a second Enter presses the focused button.
    AddSendHistory(text);
    c_.btnSend->setFocus();
}

void BoardTransfers::LogDoubleClicked(int position) {
    QTextDocument* document = c_.memoRecv->document();
    const QTextBlock block = document->findBlock(position);
    if (!block.isValid()) {
        return;
    }
    const QString text = block.text();
    int start = std::clamp(position - block.position(), 0, static_cast<int>(text.size()));
    while (start > 0 && !text.at(start - 1).isSpace()) {
        --start;
    }
    // The fields are read from the double-clicked line only: running on into
    // the next line would mix two lines into one command.
    const std::optional<std::string> command =
        transfer::LogLineFireCommand(text.mid(start, 200).toStdString());
    if (!command) {
        return;
    }
    c_.cmbSendText->setCurrentText(QString::fromStdString(*command));
    const int from = block.position() + start;
    QTextCursor cursor(document);
    cursor.setPosition(from);
    cursor.setPosition(std::min(from + 10, document->characterCount() - 1),
                       QTextCursor::KeepAnchor);
    c_.memoRecv->setTextCursor(cursor);
}

} // namespace quvan::table_ui
