#pragma once
// A printer for tests: records every page, and on it every text with its position and
// the font it was drawn in, every line and rectangle. Texts are measured as if each
// character were half the character height wide. Misuse (drawing outside a page, a
// page inside a page) fails the running test.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "draw_surface.h"
#include "print_device.h"

namespace vorelbox::fakes {

struct RecordedText {
    int x = 0;
    int y = 0;
    std::string text;
    print::FontRequest font;  // face empty: drawn with no font selected on the page
};

struct RecordedPage {
    std::vector<RecordedText> texts;
    std::vector<print::Rect> lines;  // from (left, top) to (right, bottom)
    std::vector<print::Rect> rectangles;
};

struct PrintRecording {
    int printers_chosen = 0;
    std::string title;
    bool document_started = false;
    bool document_ended = false;
    std::vector<RecordedPage> pages;
    std::vector<print::Pen> pens;
};

class RecordingPrintDevice : public print::PrintDevice {
public:
    RecordingPrintDevice(PrintRecording& recording, int dpi, int width, int height)
        : recording_(recording), dpi_(dpi), width_(width), height_(height) {}

    int dpi_x() const override { return dpi_; }
    int dpi_y() const override { return dpi_; }
    int page_width() const override { return width_; }
    int page_height() const override { return height_; }

    std::string set_font(const print::FontRequest& font) override {
        font_ = font;
        return font.face;
    }
    print::TextSize text_extent(std::string_view text) const override {
        return {static_cast<int>(text.size()) * (font_.char_height / 2), font_.char_height};
    }
    void draw_text(int x, int y, std::string_view text) override {
        page("draw_text").texts.push_back({x, y, std::string(text), font_});
    }
    void set_pen(const print::Pen& pen) override { recording_.pens.push_back(pen); }
    void draw_line(int x1, int y1, int x2, int y2) override { page("draw_line").lines.push_back({x1, y1, x2, y2}); }
    void draw_rectangle(const print::Rect& rect) override { page("draw_rectangle").rectangles.push_back(rect); }
    void fill_rectangle(const print::Rect&, std::uint32_t) override {}
    void set_clip(const std::optional<print::Rect>&) override {}

    bool start_document(std::string_view title) override {
        EXPECT_FALSE(recording_.document_started) << "second document on one printer";
        recording_.document_started = true;
        recording_.title = std::string(title);
        return true;
    }
    void start_page() override {
        EXPECT_TRUE(recording_.document_started && !recording_.document_ended) << "page outside the document";
        EXPECT_FALSE(in_page_) << "page started inside a page";
        in_page_ = true;
        recording_.pages.emplace_back();
    }
    void end_page() override {
        EXPECT_TRUE(in_page_) << "page ended outside a page";
        in_page_ = false;
        font_ = {};
    }
    void end_document() override {
        EXPECT_FALSE(in_page_) << "document ended inside a page";
        recording_.document_ended = true;
    }

private:
    RecordedPage& page(const char* what) {
        if (!in_page_ || recording_.pages.empty()) {
            ADD_FAILURE() << what << " outside a page";
            recording_.pages.emplace_back();
        }
        return recording_.pages.back();
    }

    PrintRecording& recording_;
    int dpi_;
    int width_;
    int height_;
    bool in_page_ = false;
    print::FontRequest font_;
};

// A print dialog that always chooses a recording printer.
inline print::ChoosePrinter recording_printer(PrintRecording& recording, int dpi, int width, int height) {
    return [&recording, dpi, width, height](std::string_view) -> std::unique_ptr<print::PrintDevice> {
        ++recording.printers_chosen;
        return std::make_unique<RecordingPrintDevice>(recording, dpi, width, height);
    };
}

}  // namespace vorelbox::fakes
