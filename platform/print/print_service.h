#pragma once
// Printing through Qt's printing support. A document is drawn on a fixed
// 600-dots-per-inch logical page whatever the printer's own resolution, so
// the same layout comes out the same size on a 300-dpi and a 1200-dpi
// printer and in a PDF file.

#include "platform/print/print_surface.h"

#include <QFont>
#include <QPageSize>
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace quvan::platform {

inline constexpr int kPrintDotsPerInch = 600;

struct PrintRequest {
    QString jobTitle;
    QFont font; // the document's font, by its point size
    std::function<void(PrintSurface&)> draw;
};

// Begins the document on `printer`, draws it and ends it. False when the
// printer cannot begin (no device, a file that cannot be written).
bool PrintDocument(QPrinter& printer, const PrintRequest& request);

// Shows the document in Qt's preview dialog, from which the user prints it
// through the standard print dialog (whose printers include "Print to File
// (PDF)"). True when it was printed.
bool PreviewAndPrint(QWidget* parent, const PrintRequest& request);

// Writes the document straight into a PDF file.
bool PrintToPdf(const QString& path, const PrintRequest& request,
                const QPageSize& pageSize = QPageSize(QPageSize::A4));

} // namespace quvan::platform
