#pragma once
// Drawing surfaces over QPainter: any paint device (a plot widget, a picture), and
// the printer chosen in the system's print dialog.

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "draw_surface.h"
#include "print_device.h"
#include "ui.h"

class QPaintDevice;
class QPrinter;
class QWidget;

namespace vorelbox::platform {

// A surface over a painter drawing on `device`. The font, pen and clip are kept here,
// so they may be set before the painter is active and survive a new page.
class PainterSurface : public print::DrawSurface {
  public:
    PainterSurface(QPainter& painter, QPaintDevice& device);

    int dpi_x() const override;
    int dpi_y() const override;
    std::string set_font(const print::FontRequest& font) override;
    print::TextSize text_extent(std::string_view text) const override;
    void draw_text(int x, int y, std::string_view text) override;
    void set_pen(const print::Pen& pen) override;
    void draw_line(int x1, int y1, int x2, int y2) override;
    void draw_rectangle(const print::Rect& rect) override;
    void fill_rectangle(const print::Rect& rect, std::uint32_t rgb) override;
    void set_clip(const std::optional<print::Rect>& rect) override;

    // Gives the painter the kept clip again, after it was begun or a page was started.
    void apply_clip();

  private:
    QPainter& painter_;
    QPaintDevice& device_;
    QFont font_;
    int escapement_ = 0;
    QPen pen_;
    std::optional<QRect> clip_;
};

// A printer, or a PDF file standing in for one.
class QtPrintDevice : public print::PrintDevice {
  public:
    explicit QtPrintDevice(std::unique_ptr<QPrinter> printer);
    // A document still open is aborted.
    ~QtPrintDevice() override;
    QtPrintDevice(const QtPrintDevice&) = delete;
    QtPrintDevice& operator=(const QtPrintDevice&) = delete;

    int dpi_x() const override { return surface_.dpi_x(); }
    int dpi_y() const override { return surface_.dpi_y(); }
    std::string set_font(const print::FontRequest& font) override { return surface_.set_font(font); }
    print::TextSize text_extent(std::string_view text) const override { return surface_.text_extent(text); }
    void draw_text(int x, int y, std::string_view text) override { surface_.draw_text(x, y, text); }
    void set_pen(const print::Pen& pen) override { surface_.set_pen(pen); }
    void draw_line(int x1, int y1, int x2, int y2) override { surface_.draw_line(x1, y1, x2, y2); }
    void draw_rectangle(const print::Rect& rect) override { surface_.draw_rectangle(rect); }
    void fill_rectangle(const print::Rect& rect, std::uint32_t rgb) override { surface_.fill_rectangle(rect, rgb); }
    void set_clip(const std::optional<print::Rect>& rect) override { surface_.set_clip(rect); }

    int page_width() const override;
    int page_height() const override;
    bool start_document(std::string_view title) override;
    void start_page() override;
    void end_page() override;
    void end_document() override;

  private:
    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    PainterSurface surface_;
    int pages_ = 0;
};

// A device that writes a PDF file at the printer resolution of Qt.
std::unique_ptr<QtPrintDevice> pdf_print_device(const QString& path);

// The system's print dialog (one copy, whole document) for a document of the title;
// nothing when cancelled. With no printer installed, a PDF file is chosen instead
// through the file dialog of `ui`.
std::unique_ptr<print::PrintDevice> choose_printer(QWidget* parent, common::Ui& ui, std::string_view title);

// choose_printer as the print operations take it; `ui` must outlive the result.
print::ChoosePrinter system_printer(QWidget* parent, common::Ui& ui);

}  // namespace vorelbox::platform
