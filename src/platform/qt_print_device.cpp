#include "qt_print_device.h"

#include <QColor>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringDecoder>

#include <algorithm>

#include "text_utils.h"

namespace vorelbox::platform {
namespace {

// Program texts are UTF-8, or Latin-1 when they are not valid UTF-8.
QString program_text(std::string_view text) {
    const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    if (utf8.hasError()) {
        return QString::fromLatin1(bytes);
    }
    return decoded;
}

std::string utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QRect qt_rect(const print::Rect& rect) {
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

QColor qt_color(std::uint32_t rgb) {
    return QColor(static_cast<QRgb>(rgb));
}

// A file name for the PDF made of the document title.
std::string pdf_proposal(std::string_view title) {
    std::string name(common::trim(title));
    for (char& c : name) {
        if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos ||
            static_cast<unsigned char>(c) < 0x20) {
            c = '_';
        }
    }
    if (name.empty()) {
        name = "Vorelbox";
    }
    name += ".pdf";
    return name;
}

}  // namespace

PainterSurface::PainterSurface(QPainter& painter, QPaintDevice& device)
    : painter_(painter), device_(device), pen_(Qt::black) {}

int PainterSurface::dpi_x() const {
    return device_.logicalDpiX();
}

int PainterSurface::dpi_y() const {
    return device_.logicalDpiY();
}

std::string PainterSurface::set_font(const print::FontRequest& font) {
    QFont chosen(program_text(font.face));
    // Qt has no font of height 0; the smallest is one pixel.
    chosen.setPixelSize(std::max(1, font.char_height));
    chosen.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    chosen.setItalic(font.italic);
    font_ = chosen;
    escapement_ = font.escapement;
    return utf8(QFontInfo(font_).family());
}

print::TextSize PainterSurface::text_extent(std::string_view text) const {
    const QFontMetrics metrics(font_, &device_);
    return {metrics.horizontalAdvance(program_text(text)), metrics.height()};
}

void PainterSurface::draw_text(int x, int y, std::string_view text) {
    if (!painter_.isActive()) {
        return;
    }
    const QFontMetrics metrics(font_, &device_);
    painter_.save();
    painter_.setFont(font_);
    painter_.setPen(QPen(Qt::black));
    painter_.translate(x, y);
    if (escapement_ != 0) {
        painter_.rotate(-escapement_ / 10.0);
    }
    painter_.drawText(QPoint(0, metrics.ascent()), program_text(text));
    painter_.restore();
}

void PainterSurface::set_pen(const print::Pen& pen) {
    pen_ = QPen(qt_color(pen.rgb), std::max(0, pen.width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void PainterSurface::draw_line(int x1, int y1, int x2, int y2) {
    if (painter_.isActive()) {
        painter_.setPen(pen_);
        painter_.drawLine(x1, y1, x2, y2);
    }
}

void PainterSurface::draw_rectangle(const print::Rect& rect) {
    if (painter_.isActive()) {
        painter_.setPen(pen_);
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(qt_rect(rect));
    }
}

void PainterSurface::fill_rectangle(const print::Rect& rect, std::uint32_t rgb) {
    if (painter_.isActive()) {
        painter_.fillRect(qt_rect(rect), qt_color(rgb));
    }
}

void PainterSurface::set_clip(const std::optional<print::Rect>& rect) {
    clip_ = rect ? std::optional<QRect>(qt_rect(*rect)) : std::nullopt;
    apply_clip();
}

void PainterSurface::apply_clip() {
    if (!painter_.isActive()) {
        return;
    }
    if (clip_) {
        painter_.setClipRect(*clip_);
    } else {
        painter_.setClipping(false);
    }
}

QtPrintDevice::QtPrintDevice(std::unique_ptr<QPrinter> printer)
    : printer_(std::move(printer)), surface_(painter_, *printer_) {}

QtPrintDevice::~QtPrintDevice() {
    if (painter_.isActive()) {
        printer_->abort();
        painter_.end();
    }
}

int QtPrintDevice::page_width() const {
    return printer_->width();
}

int QtPrintDevice::page_height() const {
    return printer_->height();
}

bool QtPrintDevice::start_document(std::string_view title) {
    printer_->setDocName(program_text(title));
    if (!painter_.begin(printer_.get())) {
        return false;
    }
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.setRenderHint(QPainter::Antialiasing);
    pages_ = 0;
    return true;
}

void QtPrintDevice::start_page() {
    if (!painter_.isActive()) {
        return;
    }
    if (pages_ > 0) {
        printer_->newPage();
    }
    ++pages_;
    surface_.apply_clip();
}

void QtPrintDevice::end_page() {}

void QtPrintDevice::end_document() {
    if (painter_.isActive()) {
        painter_.end();
    }
}

std::unique_ptr<QtPrintDevice> pdf_print_device(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return std::make_unique<QtPrintDevice>(std::move(printer));
}

std::unique_ptr<print::PrintDevice> choose_printer(QWidget* parent, common::Ui& ui, std::string_view title) {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer installed: the document goes to a PDF file.
        const std::string path = common::SAVE_FILEWEXT(ui, pdf_proposal(title), "Print to PDF file",
                                                       "PDF file (*.pdf)|*.pdf||", ".pdf");
        if (path.empty()) {
            return nullptr;
        }
        return pdf_print_device(program_text(path));
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(program_text(common::trim(title)));
    printer->setCopyCount(1);
    QPrintDialog dialog(printer.get(), parent);
    // The whole document, once; printing to a file stays on offer.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) {
        return nullptr;
    }
    return std::make_unique<QtPrintDevice>(std::move(printer));
}

print::ChoosePrinter system_printer(QWidget* parent, common::Ui& ui) {
    return [owner = QPointer<QWidget>(parent), &ui](std::string_view title) {
        return choose_printer(owner.data(), ui, title);
    };
}

}  // namespace vorelbox::platform
