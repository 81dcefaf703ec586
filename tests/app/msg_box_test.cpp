#include "app/msgbox/msg_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <vector>

namespace quvan::app {
namespace {

class RecordingPlayer : public platform::SoundPlayer {
  public:
    void playAsync(const std::string& path) override { played.push_back(path); }
    std::vector<std::string> played;
};

QRect Geometry(const QWidget* w) {
    return w->geometry();
}
bool Shown(const QWidget* w) {
    return !w->isHidden();
}

class MsgBoxTest : public ::testing::Test {
  protected:
    MsgBoxTest() : box(&mainWindow, &sounds, &player) {
        mainWindow.setGeometry(100, 50, 1000, 750);
        sounds.SoundAction = "action";
        sounds.SoundChimes = "chimes";
        sounds.SoundChord = "chord";
    }
    ~MsgBoxTest() override { TfrmMsgBox::SetAnswerer(nullptr); }

    int Width(const QString& line) const {
        return QFontMetrics(box.font()).horizontalAdvance(line);
    }
    // Shows the box and lets answer act on it like a user.
    int Answer(std::function<void(TfrmMsgBox&)> answer) {
        TfrmMsgBox::SetAnswerer(std::move(answer));
        return box.ShowModal();
    }

    QWidget mainWindow;
    SoundPaths sounds;
    RecordingPlayer player;
    TfrmMsgBox box;
};

TEST_F(MsgBoxTest, AShortQuestionIsJustWideEnoughForItsButtonsAndCentred) {
    box.Prepare(2, QStringLiteral("確認"), QStringLiteral("Go?"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("確認"));
    EXPECT_EQ(Geometry(box.btnYes), QRect(164, 55, 75, 25));
    EXPECT_EQ(Geometry(box.btnNo), QRect(243, 55, 75, 25));
    EXPECT_EQ(box.btnYes->text(), "Yes");
    EXPECT_EQ(box.btnNo->text(), "No");
    EXPECT_TRUE(Shown(box.btnNo));
    EXPECT_FALSE(Shown(box.btnCan));
    EXPECT_EQ(box.btnCan->text(), "");
    EXPECT_FALSE(Shown(box.ckDispOff));
    // "No" ends at 318; 8 more for the margin; the buttons' bottom 80 + 8.
    EXPECT_EQ(box.size(), QSize(326, 88));
    // 100 + (1000 - 326) / 2 and 50 + (750 - 88) / 2.
    EXPECT_EQ(box.pos(), QPoint(437, 381));
}

TEST_F(MsgBoxTest, ALongLineWidensTheBoxButTheButtonsStay) {
    const QString text =
        QStringLiteral("QUVANと通信出来ません。 The board did not answer on any port");
    const int w = Width(text);
    ASSERT_GT(w + 16, 326);
    box.Prepare(1, QStringLiteral("エラー"), text);
    EXPECT_EQ(box.size(), QSize(w + 16, 88));
    EXPECT_EQ(box.btnYes->x(), 164);
    EXPECT_EQ(box.lblWork->width(), w);
    // The message fills the box between equal margins, so the line fits.
    EXPECT_EQ(Geometry(box.lblMsg), QRect(8, 8, w, 40));
    EXPECT_EQ(box.lblMsg->heightForWidth(box.lblMsg->width()), box.lblMsg->heightForWidth(10 * w));
    EXPECT_EQ(box.pos().x(), 100 + (1000 - (w + 16)) / 2);
}

TEST_F(MsgBoxTest, TheLongestOfSeveralLinesSetsTheWidthAndEveryLineShows) {
    const QString first = QStringLiteral("学習情報を保存していません。");
    const QString second =
        QStringLiteral("破棄して終了してもよろしいですか？ (the table has 500 rows)");
    box.Prepare(2, QStringLiteral("確認"), first + "\n" + second + "\nok");
    const int w = std::max(Width(first), Width(second));
    ASSERT_GT(w + 16, 326);
    // As wide as the longest line, plus what the label's layout may need so
    // that no line breaks.
    EXPECT_GE(box.width(), w + 16);
    EXPECT_LE(box.width(), w + 16 + 2 * QFontMetrics(box.font()).averageCharWidth());
    // Three lines do not fit the two-line label: it grows to hold them all,
    // each whole, and the buttons move down by as much, below the text.
    const int needed = box.lblMsg->heightForWidth(box.lblMsg->width());
    EXPECT_EQ(needed, box.lblMsg->heightForWidth(QWIDGETSIZE_MAX));
    EXPECT_GT(needed, 40);
    EXPECT_EQ(box.lblMsg->height(), needed);
    EXPECT_EQ(box.btnYes->y(), 55 + needed - 40);
    EXPECT_EQ(box.btnNo->y(), box.btnYes->y());
    EXPECT_GE(box.btnYes->y(), box.lblMsg->y() + box.lblMsg->height());
    EXPECT_EQ(box.height(), 88 + needed - 40);

    // A kind 0 message takes its check box down with it; a short text
    // afterwards brings the box back to its two-line layout.
    box.Prepare(0, QStringLiteral("確認"), first + "\n" + second + "\nok");
    EXPECT_EQ(box.ckDispOff->y(), 57 + needed - 40);
    box.Prepare(1, QStringLiteral("確認"), first);
    EXPECT_EQ(box.lblMsg->height(), 40);
    EXPECT_EQ(box.btnYes->y(), 55);
    EXPECT_EQ(box.ckDispOff->y(), 57);
    EXPECT_EQ(box.height(), 88);
}

TEST_F(MsgBoxTest, KindsChooseButtonsAndSounds) {
    struct Case {
        int kind;
        QStringList captions; // of the buttons shown, left to right
        bool checkBox;
        std::string sound;
        int width;
    };
    const std::vector<Case> cases = {
        {0, {"OK"}, true, "chimes", 247},
        {1, {"OK"}, false, "action", 247},
        {2, {"Yes", "No"}, false, "action", 326},
        {3, {"Yes", "No", "Cancel"}, false, "action", 405},
        {-1, {"Yes", "No", "Cancel"}, false, "chord", 405},
        {7, {"Yes", "No", "Cancel"}, false, "chord", 405},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        box.Prepare(c.kind, QStringLiteral("c"), QStringLiteral("t"));
        QStringList shown;
        for (const QPushButton* b : {box.btnYes, box.btnNo, box.btnCan}) {
            if (Shown(b)) {
                shown << b->text();
            }
        }
        EXPECT_EQ(shown, c.captions);
        EXPECT_EQ(Shown(box.ckDispOff), c.checkBox);
        EXPECT_EQ(box.width(), c.width);
        EXPECT_EQ(box.Kind(), c.kind);
        player.played.clear();
        Answer([](TfrmMsgBox&) {});
        EXPECT_EQ(player.played, std::vector<std::string>{c.sound});
    }
    EXPECT_EQ(box.btnCan->x(), 322);
}

TEST_F(MsgBoxTest, KindZeroThenOneHidesTheCheckBoxAndKeepsOk) {
    box.Prepare(3, QStringLiteral("c"), QStringLiteral("t"));
    box.Prepare(0, QStringLiteral("c"), QStringLiteral("t"));
    EXPECT_TRUE(Shown(box.ckDispOff));
    EXPECT_EQ(Geometry(box.ckDispOff), QRect(8, 57, 141, 17));
    box.Prepare(1, "エラー", "t");
    EXPECT_EQ(box.windowTitle(), QStringLiteral("エラー"));
    EXPECT_FALSE(Shown(box.ckDispOff));
    EXPECT_EQ(Geometry(box.btnYes), QRect(164, 55, 75, 25));
    EXPECT_FALSE(Shown(box.btnNo));
}

TEST_F(MsgBoxTest, ButtonsGiveResultsAndTags) {
    box.Prepare(3, QStringLiteral("c"), QStringLiteral("t"));
    EXPECT_EQ(Answer([](TfrmMsgBox& b) { b.btnNo->click(); }), 2);
    EXPECT_EQ(std::vector({box.YesTag(), box.NoTag(), box.CanTag()}), std::vector({0, 1, 0}));
    EXPECT_EQ(Answer([](TfrmMsgBox& b) { b.btnCan->click(); }), 2);
    EXPECT_EQ(std::vector({box.YesTag(), box.NoTag(), box.CanTag()}), std::vector({0, 0, 1}));
    EXPECT_EQ(Answer([](TfrmMsgBox& b) { b.btnYes->click(); }), 1);
    EXPECT_EQ(std::vector({box.YesTag(), box.NoTag(), box.CanTag()}), std::vector({1, 0, 0}));
    // Left unanswered, as if closed.
    EXPECT_EQ(Answer([](TfrmMsgBox&) {}), 2);

    bool showingInside = false;
    EXPECT_EQ(Answer([&](TfrmMsgBox& b) {
                  showingInside = b.Showing();
                  b.CloseWithOk();
              }),
              1);
    EXPECT_TRUE(showingInside);
    EXPECT_FALSE(box.Showing());
}

TEST_F(MsgBoxTest, TheCheckBoxKeepsItsStateAcrossPrepare) {
    box.SetDispOff(true);
    box.Prepare(0, QStringLiteral("c"), QStringLiteral("t"));
    EXPECT_TRUE(box.DispOffChecked());
    box.SetDispOff(false);
    Answer([](TfrmMsgBox& b) {
        b.ckDispOff->click();
        b.btnYes->click();
    });
    EXPECT_TRUE(box.DispOffChecked());
}

TEST_F(MsgBoxTest, OnScreenTheCloseBoxAndEnterAnswer) {
    box.Prepare(2, QStringLiteral("確認"), QStringLiteral("Quit?"));
    bool visible = false;
    QTimer::singleShot(0, &box, [&] {
        visible = box.isVisible() && box.Showing();
        box.close();
    });
    EXPECT_EQ(box.ShowModal(), 2);
    EXPECT_TRUE(visible);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(player.played, std::vector<std::string>{"action"});

    // Enter goes to whatever has the focus; that must be "Yes".
    QTimer::singleShot(0, &box, [&] { QTest::keyClick(box.focusWidget(), Qt::Key_Return); });
    EXPECT_EQ(box.ShowModal(), 1);
    EXPECT_EQ(box.YesTag(), 1);
}

} // namespace
} // namespace quvan::app

int main(int argc, char** argv) {
    // No screen is needed: the box is laid out and answered off-screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
