#pragma once
// The real tool against quvan-sim for the table transfers: message boxes
// answered from a queue and remembered, the board's wire log, its entry
// memory read through the simulator's "dump" command.

#include "../frame/qstring_printer.h"
#include "../table/transfer/transfer_test_support.h"
#include "sim/board_model.h"
#include "sim_process.h"
#include "table/ui/board_transfers.h"
#include "table/ui/read_back_driver.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "table/ui/tws_dialog.h"
#include "test_program.h"

#include <QEventLoop>
#include <QTimer>
#include <deque>
#include <gtest/gtest.h>

namespace quvan::app {

struct ShownBox {
    int kind;
    QString caption;
    QString text;
};

class TransferTest : public ::testing::Test {
  protected:
    TransferTest() {
        TfrmMsgBox::SetAnswerer([this](TfrmMsgBox& box) {
            shown.push_back({box.Kind(), box.windowTitle(), box.Text()});
            const bool yes = answers.empty() || answers.front();
            if (!answers.empty())
                answers.pop_front();
            if (yes)
                box.CloseWithOk();
            else
                box.btnNo->click();
        });
    }
    ~TransferTest() override {
        program.reset();
        TfrmMsgBox::SetAnswerer(nullptr);
    }

    void Start(const std::string& port, const QString& title = "TAVIRO QUVAN-ARM Tool") {
        program = std::make_unique<Program>(
            test_support::TestProgramOptions(title, dir, ports, silence, port));
        program->frmMain().show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return program->frmMain().state().StartupDone; }, 5000));
        // The start sequence ends with "T"; a test's own bytes come after it.
        if (QFile::exists(File("wire.log"))) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return Wire().endsWith("T\r\n"); }, 3000));
        }
    }

    TfrmMain& main() { return program->frmMain(); }
    MainWidgets& w() { return main().widgets(); }
    LearningTable& table() { return program->learningTable(); }
    table_ui::TableGrid& grid() { return program->tableCommands().grid(); }
    table_ui::TfrmTws& tws() { return program->frmTws(); }
    table_ui::BoardTransfers& transfers() { return program->boardTransfers(); }

    QString File(const char* name) const {
        return QString::fromStdString((dir.path() / name).string());
    }
    QByteArray Wire() const { return test_support::ReadFileBytes(File("wire.log")); }
    // The wire log from `from` on.
    std::string WireSince(qsizetype from) const { return Wire().mid(from).toStdString(); }
    // The wire log from `from` on, once the board has seen at least as many
    // bytes as `expected` has (commands sent without a wait may still be on
    // their way when the tool is done).
    std::string WireSince(qsizetype from, const std::string& expected) const {
        (void)QTest::qWaitFor([&] { return WireSince(from).size() >= expected.size(); }, 3000);
        return WireSince(from);
    }
    void ExpectWire(qsizetype from, const std::string& expected) const {
        EXPECT_EQ(WireSince(from, expected), expected);
    }

    // Runs `act` once `dialog` is on screen (a modal dialog's exec() only
    // returns when it closes).
    static void WhenShown(QWidget& dialog, std::function<void()> act) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, &dialog, act] {
            if (dialog.isVisible()) {
                poll->stop();
                poll->deleteLater();
                act();
            }
        });
        poll->start(1);
    }

    // Clicks "QUVANに登録" and, once the dialog shows, sets its choices and
    // "登録実行". Returns when the dialog has closed.
    void Register(std::function<void(table_ui::TfrmTws&)> choose = {}) {
        WhenShown(tws(), [this, choose] {
            if (choose)
                choose(tws());
            tws().btnExecute->click();
        });
        w().btnTableWrite->click();
    }

    // Waits for the read-back to end in an event loop of its own:
    // QTest::qWaitFor sleeps 10 ms between its looks, which would hold up
    // every exchange with the board.
    void WaitForReadBack(int ms = 15000) {
        if (transfers().readBackRunning()) {
            QEventLoop loop;
            QObject::connect(&transfers().readBack(), &table_ui::ReadBackDriver::readBackFinished,
                             &loop, &QEventLoop::quit);
            QTimer::singleShot(ms, &loop, &QEventLoop::quit);
            loop.exec();
        }
        ASSERT_FALSE(transfers().readBackRunning());
    }

    // The board's entry memory as it is now.
    sim::BoardModel Memory(test_support::SimProcess& sim) {
        const QString path = File("memory.txt");
        QFile::remove(path);
        sim.control("dump " + path.toUtf8());
        sim::BoardModel board;
        if (!QTest::qWaitFor([&] { return QFile::exists(path); }, 3000)) {
            ADD_FAILURE() << "the simulator wrote no memory dump";
            return board;
        }
        EXPECT_TRUE(board.load_flash_text(test_support::ReadFileBytes(path).toStdString()));
        return board;
    }

    // The board's entry n holds `r` field for field.
    static void ExpectStored(const sim::BoardModel& board, int n, const LearnedSignal& r) {
        ASSERT_TRUE(board.entry_used(n)) << "entry " << n;
        const sim::BoardEntry& e = board.entry(n);
        EXPECT_EQ(e.carry, r.Carry) << n;
        EXPECT_EQ(e.data_bits, r.DataBits) << n;
        EXPECT_EQ(e.repeat_bit, r.RepeatBit) << n;
        for (std::size_t i = 0; i < 16; ++i) {
            EXPECT_EQ(e.high[i], r.PatternHigh[i]) << n << " pattern " << i;
            EXPECT_EQ(e.width[i], r.PatternWidth[i]) << n << " pattern " << i;
        }
        ASSERT_GE(e.codes.size(), static_cast<std::size_t>(r.DataBits)) << n;
        for (int k = 0; k < r.DataBits; ++k)
            ASSERT_EQ(e.codes[static_cast<std::size_t>(k)],
                      r.PatternCode[static_cast<std::size_t>(k)])
                << n << " code " << k;
    }

    test_support::TempDir dir;
    platform::FixedPortLister ports;
    test_support::Silence silence;
    std::unique_ptr<Program> program;
    std::vector<ShownBox> shown;
    std::deque<bool> answers;
};

// The registration block of transfer::test::FillNec's signal as bytes on
// the line, written out from the command formats.
inline std::string NecWire(int row, int writeFlag = 0, int carry = 380) {
    char head[64];
    std::snprintf(head, sizeof head, "Twf:%03d\r\nTwc:%03d\r\n", writeFlag, carry);
    std::string bytes = head;
    bytes += "Twb:034\r\nTwr:000\r\n"
             "Twp:0:09000,013500\r\nTwp:1:00560,001120\r\nTwp:2:00560,002250\r\n"
             "Twp:3:00560,040500\r\n";
    for (const char* index : {"4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"})
        bytes += std::string("Twp:") + index + ":00000,000000\r\n";
    bytes += "Twd:" + transfer::test::kNecDigits + "\r\n";
    std::snprintf(head, sizeof head, "Tws:%03d\r\n", row);
    return bytes + head;
}

// The block of a cleared row in erase mode.
inline std::string ErasedWire(int row) {
    std::string bytes = "Twf:999\r\nTwc:000\r\nTwb:000\r\nTwr:000\r\n";
    for (const char* index :
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"})
        bytes += std::string("Twp:") + index + ":00000,000000\r\n";
    char store[32];
    std::snprintf(store, sizeof store, "Twd:\r\nTws:%03d\r\n", row);
    return bytes + store;
}

// A flash file of the simulator (its documented format) holding these
// read-back blocks.
inline QByteArray FlashFile(const std::vector<std::vector<std::string>>& blocks) {
    QByteArray text = "QUVAN-SIM FLASH 1\n";
    for (const auto& block : blocks)
        for (const std::string& line : block)
            text += QByteArray::fromStdString(line) + "\n";
    return text;
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace quvan::app
