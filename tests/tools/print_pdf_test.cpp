// The prints as they come out of Qt's printing support: into PDF files,
// read back with pdftotext and pdfinfo, and rendered with pdftoppm to
// measure the pen (poppler-utils).

#include "platform/print/print_service.h"
#include "table/learning_table.h"
#include "tools/wave_output_commands.h"

#include <QDir>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace quvan::tools {
namespace {

std::string Command(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    std::array<char, 4096> buf{};
    for (std::size_t n; (n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0;)
        out.append(buf.data(), n);
    ::pclose(pipe);
    return out;
}

bool HavePoppler() {
    return std::system("command -v pdftotext >/dev/null && command -v pdftoppm >/dev/null") == 0;
}

int Pages(const QString& pdf) {
    const QString info = QString::fromStdString(Command("pdfinfo '" + pdf.toStdString() + "'"));
    const QRegularExpressionMatch m = QRegularExpression("Pages:\\s+(\\d+)").match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The text of each page (pdftotext ends every page with a form feed).
QStringList PageTexts(const QString& pdf) {
    QStringList pages =
        QString::fromStdString(Command("pdftotext -layout '" + pdf.toStdString() + "' -"))
            .split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QStringList Words(const QString& text) {
    return text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

class FakeOutputs final : public WaveOutputHost {
  public:
    QString applicationTitle() const override { return "TAVIRO QUVAN-Pro Tool"; }
    QFont documentFont() const override { return QFont("DejaVu Sans Mono", 9); }
    QString pathPanelText() const override { return path; }
    int selectedRow() const override { return 1; }
    int waveZoom() const override { return zoom; }
    PrintMarks printMarks() const override { return marks; }
    std::array<std::string, 3> samplingTexts() const override { return sampling; }
    int waveLanes() const override { return 4; }
    const WaveLane* lanes() const override { return laneData.data(); }
    int laneRow(int lane) const override { return lane + 1; }
    std::optional<QString> chooseWaveTextFile() override { return std::nullopt; }
    int showMessage(int kind, const QString& caption, const QString& text) override {
        shown.append(QString::number(kind) + "|" + caption + "|" + text);
        return 1;
    }

    QString path = "/home/user/Dat/tv.Csv";
    int zoom = 200;
    PrintMarks marks = PrintMarks::None;
    std::array<std::string, 3> sampling{"450", "878", "32"};
    std::array<WaveLane, 4> laneData{};
    QStringList shown;
};

class PrintPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(HavePoppler()) << "pdftotext and pdftoppm (poppler-utils) are needed";
        commands.today = [] { return QDate(2025, 1, 2); };
    }
    QString Print(const platform::PrintRequest& request, const char* name) {
        const QString pdf = dir.filePath(name);
        EXPECT_TRUE(platform::PrintToPdf(pdf, request));
        return pdf;
    }
    void SetLane(int l, const std::vector<PulsePair>& pairs) {
        WaveLane& lane = host.laneData[static_cast<std::size_t>(l)];
        for (std::size_t k = 0; k < pairs.size(); ++k)
            lane.Pairs[k] = pairs[k];
        lane.LastIndex = static_cast<int>(pairs.size()) - 1;
    }

    QTemporaryDir dir;
    LearningTable table{kProTableRows};
    FakeOutputs host;
    WaveOutputCommands commands{table, host};
};

TEST_F(PrintPdf, AnEmptyTablePrintsOnlyItsFileNameAndDate) {
    const QString pdf = Print(commands.TablePrintRequest(), "empty.pdf");
    EXPECT_EQ(Pages(pdf), 1);
    EXPECT_EQ(Words(PageTexts(pdf).join(' ')),
              (QStringList{"File:", "tv.Csv", "Date：2025/01/02"}));
    EXPECT_EQ(commands.TablePrintRequest().jobTitle, "TAVIRO QUVAN-Pro Tool[ Table Date ]");
}

TEST_F(PrintPdf, ALongTableGoesOnOverPagesWithEveryRowOnce) {
    for (int row = 1; row <= 300; ++row) {
        table.setCell(row, ColCarry, "38.0kHz");
        table.setCell(row, ColComments, row == 7 ? "テレビ 電源" : "TV");
        table.setCell(row, ColResult, "Tm:NEC-32A    d:00FF 12ED");
    }
    const QString pdf = Print(commands.TablePrintRequest(), "long.pdf");
    const QStringList pages = PageTexts(pdf);
    EXPECT_GE(pages.size(), 3);
    EXPECT_EQ(Pages(pdf), pages.size());
    QStringList labels;
    for (const QString& page : pages) {
        const QStringList words = Words(page);
        ASSERT_FALSE(words.isEmpty());
        for (const QString& word : words)
            if (word.startsWith("[0"))
                labels.append(word);
    }
    // Only the first page has the file line; the others start with a row.
    EXPECT_EQ(Words(pages[0]).mid(0, 2), (QStringList{"File:", "tv.Csv"}));
    EXPECT_TRUE(Words(pages[1]).first().startsWith("[0"));
    ASSERT_EQ(labels.size(), 300);
    for (int row = 1; row <= 300; ++row)
        EXPECT_EQ(labels[row - 1], QString::asprintf("[%04d]:", row));
    EXPECT_TRUE(pages.join(' ').contains("テレビ 電源"));
}

TEST_F(PrintPdf, TwoLanesWithPhilipsMarks) {
    table.setCell(1, ColComments, "RC5");
    table.setCell(1, ColResult, "Philips d:0C 05");
    table.setCell(2, ColComments, "RC5b");
    std::vector<PulsePair> pairs(12, {889, 1778});
    SetLane(0, pairs);
    SetLane(1, pairs);
    host.zoom = 50;
    host.marks = PrintMarks::PhilipsSerial;
    host.sampling = {"444", "1778", "8"};
    const platform::PrintRequest request = commands.WavePrintRequest();
    EXPECT_EQ(request.jobTitle, "TAVIRO QUVAN-Pro Tool[ Wave Date ]");
    const QString pdf = Print(request, "philips.pdf");
    EXPECT_EQ(Pages(pdf), 1);
    const QString text = PageTexts(pdf).join(' ');
    EXPECT_TRUE(text.contains("No.1:RC5 Philips d:0C 05"));
    EXPECT_TRUE(text.contains("No.2:RC5b"));
    // Frame 1: each instant lies 444 µs into the 889 µs mark of its pair: eight
    // 1s. It ends at 444 + 8 x 1778 = 14668, inside pair 8, so frame 2 starts
    // 444 µs into pair 9; the sampler, moving one pair per instant, is then
    // a pair behind and finds every instant after its pair's mark: eight 0s.
    // Its end lies past the twelve pairs. Two lanes: 16 of each.
    EXPECT_EQ(Words(text).count("1"), 16);
    EXPECT_EQ(Words(text).count("0"), 16);
}

// One Eiritsu frame whose instants 1, 6, 9 and 17 lie in spaces: instant 1
// makes it a two-nibble frame with X = 0x80 | 0x01 and Y = 0x01.
TEST_F(PrintPdf, EiritsuTwoNibbleFrame) {
    std::vector<PulsePair> frame(32, {500, 833});
    frame[31].Width = 1093;
    for (int i : {1, 6, 9, 17})
        frame[static_cast<std::size_t>(i)].High = 100;
    SetLane(0, frame);
    host.zoom = 200;
    host.marks = PrintMarks::Eiritsu;
    const QString text = PageTexts(Print(commands.WavePrintRequest(), "eiritsu.pdf")).join(' ');
    EXPECT_TRUE(text.contains("x:81")) << text.toStdString();
    EXPECT_TRUE(text.contains("y:01"));
    EXPECT_FALSE(text.contains("k:"));
}

// The pen of a long mark, measured on a 600-dpi rendering of a page without
// margins (so a dot of the layout is a pixel): 4 dots at zoom 25, the
// thinnest line at 150 and 200. Column 700 lies inside the mark at every
// zoom and right of the header text.
TEST_F(PrintPdf, PenWidthFollowsTheZoomOnTheFixedPage) {
    SetLane(0, {{40000, 80000}, {560, 1120}});
    for (const auto& [zoom, thinnest, thickest] :
         {std::array{25, 4, 5}, std::array{150, 1, 2}, std::array{200, 1, 2}}) {
        host.zoom = zoom;
        const QString pdf = dir.filePath(QString("pen%1.pdf").arg(zoom));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setFullPage(true);
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        ASSERT_TRUE(platform::PrintDocument(printer, commands.WavePrintRequest()));
        const QString stem = dir.filePath(QString("pen%1").arg(zoom));
        Command("pdftoppm -r 600 -gray -aa no -aaVector no -x 700 -y 0 -W 1 -H 800 -singlefile '" +
                pdf.toStdString() + "' '" + stem.toStdString() + "'");
        std::ifstream pgm((stem + ".pgm").toStdString(), std::ios::binary);
        std::string magic;
        int width = 0, height = 0, maxValue = 0;
        pgm >> magic >> width >> height >> maxValue;
        pgm.get();
        ASSERT_EQ(magic, "P5");
        ASSERT_EQ(height, 800);
        int dark = 0;
        for (int y = 0; y < height; ++y)
            dark += pgm.get() < maxValue / 2;
        EXPECT_GE(dark, thinnest) << "zoom " << zoom;
        EXPECT_LE(dark, thickest) << "zoom " << zoom;
    }
}

TEST_F(PrintPdf, ASaveThatFailsSaysCantSave) {
    EXPECT_FALSE(commands.SaveWaveText(dir.filePath("missing/wave.Txt")));
    EXPECT_EQ(host.shown, QStringList{"1|確認|Can't Save"});
    const QString path = dir.filePath("wave.Txt");
    EXPECT_TRUE(commands.SaveWaveText(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // Four lanes, each a block even when empty: the cell line and the columns.
    EXPECT_EQ(file.readAll().count("[No.],   [H],   [L],   [W] (uS)\r\n"), 4);
}

} // namespace
} // namespace quvan::tools
