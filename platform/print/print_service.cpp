#include "platform/print/print_service.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <cmath>

namespace quvan::platform {

namespace {

// A font sized in points has its size in dots of the 600-dpi page; a font
// sized in pixels counts them as screen pixels at 96 per inch.
QFont PageFont(QFont font) {
    double points = font.pointSizeF();
    if (points <= 0)
        points = font.pixelSize() * 72.0 / 96.0;
    if (points <= 0)
        points = 9;
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(points * kPrintDotsPerInch / 72.0))));
    return font;
}

class QtPrintSurface final : public PrintSurface {
  public:
    QtPrintSurface(QPrinter& printer, QPainter& painter, const QFont& font)
        : printer_(printer), painter_(painter) {
        const double scale = static_cast<double>(printer.resolution()) / kPrintDotsPerInch;
        painter_.scale(scale, scale);
        const QRect page = printer.pageLayout().paintRectPixels(kPrintDotsPerInch);
        width_ = page.width();
        height_ = page.height();
        painter_.setFont(PageFont(font));
        fontHeight_ = painter_.font().pixelSize();
        painter_.setRenderHint(QPainter::Antialiasing, false);
        setPen(kPrintBlack, PenStyle::Solid, 1);
    }

    int pageWidth() const override { return width_; }
    int pageHeight() const override { return height_; }
    int textWidth(std::string_view utf8) const override {
        return painter_.fontMetrics().horizontalAdvance(Text(utf8));
    }
    int textHeight(std::string_view) const override { return painter_.fontMetrics().height(); }
    int fontHeight() const override { return fontHeight_; }

    void setPen(PrintColour colour, PenStyle style, int width) override {
        pen_ = QPen(Colour(colour), width, style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine,
                    Qt::SquareCap, Qt::MiterJoin);
        pen_.setCosmetic(width == 0);
    }
    void setTextColour(PrintColour colour) override { textColour_ = Colour(colour); }
    void textOut(int x, int y, std::string_view utf8) override {
        painter_.setPen(textColour_);
        painter_.drawText(QPoint(x, y + painter_.fontMetrics().ascent()), Text(utf8));
    }
    void moveTo(int x, int y) override { at_ = QPoint(x, y); }
    void lineTo(int x, int y) override {
        painter_.setPen(pen_);
        const QPoint to(x, y);
        painter_.drawLine(at_, to);
        at_ = to;
    }
    void newPage() override { printer_.newPage(); }

  private:
    static QColor Colour(PrintColour c) { return QColor(c.red, c.green, c.blue); }
    static QString Text(std::string_view utf8) {
        return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    }

    QPrinter& printer_;
    QPainter& painter_;
    int width_ = 0;
    int height_ = 0;
    int fontHeight_ = 0;
    QPen pen_;
    QColor textColour_ = Qt::black;
    QPoint at_;
};

} // namespace

bool PrintDocument(QPrinter& printer, const PrintRequest& request) {
    printer.setDocName(request.jobTitle);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    QtPrintSurface surface(printer, painter, request.font);
    if (request.draw)
        request.draw(surface);
    return painter.end();
}

bool PreviewAndPrint(QWidget* parent, const PrintRequest& request) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(request.jobTitle);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(request.jobTitle);
    // Big enough to read a page; the dialog's own default shows a thumbnail.
    if (const QScreen* screen =
            parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen())
        preview.resize(screen->availableGeometry().size() * 4 / 5);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&request](QPrinter* target) { PrintDocument(*target, request); });
    return preview.exec() == QDialog::Accepted;
}

bool PrintToPdf(const QString& path, const PrintRequest& request, const QPageSize& pageSize) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(pageSize);
    printer.setCreator(request.jobTitle);
    return PrintDocument(printer, request);
}

} // namespace quvan::platform
