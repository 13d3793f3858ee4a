#include "emf_canvas.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numbers>

#include <uemf.h>

namespace vorelbox::platform {

// libuemf writes the records as they lie in memory; the file is little-endian.
static_assert(std::endian::native == std::endian::little,
              "EMF records are written in host byte order");

struct EmfCanvas::Handles {
    Handles() { emf_htable_create(128, 128, &table); }
    ~Handles() { emf_htable_free(&table); }
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;

    EMFHANDLES* table = nullptr;
};

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

U_RECTL rectl(int left, int top, int right, int bottom) {
    U_RECTL r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

U_COLORREF colour(std::uint32_t rgb) {
    return colorref3_set(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                         static_cast<std::uint8_t>(rgb));
}

// A UTF-16 name in a zero-filled field of N units, the last one always 0.
template <std::size_t N>
std::array<std::uint16_t, N> utf16_field(const QString& text) {
    std::array<std::uint16_t, N> field{};
    const auto count = std::min<std::size_t>(N - 1, static_cast<std::size_t>(text.size()));
    std::copy_n(text.utf16(), count, field.begin());
    return field;
}

// The box that text of the size covers at (x, y), turned by the escapement.
U_RECTL text_bounds(int x, int y, double width, double height, int escapement) {
    const double angle = escapement / 10.0 * std::numbers::pi / 180.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    double left = x;
    double right = x;
    double top = y;
    double bottom = y;
    for (const auto& [u, v] :
         {std::pair{width, 0.0}, std::pair{0.0, height}, std::pair{width, height}}) {
        const double px = x + u * c + v * s;
        const double py = y - u * s + v * c;
        left = std::min(left, px);
        right = std::max(right, px);
        top = std::min(top, py);
        bottom = std::max(bottom, py);
    }
    return rectl(static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)),
                 static_cast<int>(std::ceil(right)), static_cast<int>(std::ceil(bottom)));
}

std::uint32_t record_size(const char* record) {
    U_EMR head;
    std::memcpy(&head, record, sizeof head);
    return head.nSize;
}

struct Track {
    ~Track() {
        if (et != nullptr) {
            emf_free(&et);
        }
    }
    EMFTRACK* et = nullptr;
};

}  // namespace

ReferenceScreen primary_screen() {
    ReferenceScreen reference;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return reference;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return reference;
    }
    const QSize pixels = screen->size();
    const QSizeF millimetres = screen->physicalSize();
    if (pixels.width() < 1 || pixels.height() < 1 || millimetres.width() < 1.0 ||
        millimetres.height() < 1.0) {
        return reference;
    }
    reference.pixels_x = pixels.width();
    reference.pixels_y = pixels.height();
    reference.millimetres_x = static_cast<int>(std::lround(millimetres.width()));
    reference.millimetres_y = static_cast<int>(std::lround(millimetres.height()));
    return reference;
}

EmfCanvas::EmfCanvas(std::string_view program, std::string_view title,
                     const ReferenceScreen& screen)
    : handles_(std::make_unique<Handles>()),
      scale_x_(100.0 * screen.millimetres_x / std::max(1, screen.pixels_x)),
      scale_y_(100.0 * screen.millimetres_y / std::max(1, screen.pixels_y)) {
    // "program", NUL, "title", NUL, NUL.
    std::vector<std::uint16_t> description;
    for (const QString& part : {program_text(program), program_text(title)}) {
        description.insert(description.end(), part.utf16(), part.utf16() + part.size());
        description.push_back(0);
    }
    description.push_back(0);
    // The frame in 0.01 mm: the whole canvas at the screen's size of a pixel, so
    // that a viewer shows all of it, the bottom line of text included.
    const int frame_x = static_cast<int>(std::lround(scale_x_ * WIDTH));
    const int frame_y = static_cast<int>(std::lround(scale_y_ * HEIGHT));
    char* header = U_EMRHEADER_set(rectl(0, 0, WIDTH - 1, HEIGHT - 1), rectl(0, 0, frame_x, frame_y), nullptr,
                                   static_cast<U_CBSTR>(description.size()), description.data(),
                                   sizel_set(screen.pixels_x, screen.pixels_y),
                                   sizel_set(screen.millimetres_x, screen.millimetres_y), 0);
    header_.assign(header, header + record_size(header));
    std::free(header);

    append(U_EMRSETMAPMODE_set(U_MM_TEXT));
    append(U_EMRSETBKMODE_set(U_TRANSPARENT));
    append(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT | U_TA_NOUPDATECP));
    append(U_EMRSETTEXTCOLOR_set(colour(0x000000)));
    append(U_EMRSELECTOBJECT_set(U_NULL_BRUSH));
    set_pen({});
}

EmfCanvas::~EmfCanvas() = default;

void EmfCanvas::append(char* record) {
    if (record == nullptr) {
        return;
    }
    records_.insert(records_.end(), record, record + record_size(record));
    std::free(record);
}

std::uint32_t EmfCanvas::new_handle() {
    std::uint32_t handle = 0;
    emf_htable_insert(&handle, handles_->table);
    return handle;
}

void EmfCanvas::retire(std::uint32_t handle) {
    if (handle == 0) {
        return;
    }
    // The selection saved with a clip may hold it: it goes once the clip is lifted.
    if (clipped_) {
        deferred_deletes_.push_back(handle);
    } else {
        delete_object(handle);
    }
}

void EmfCanvas::delete_object(std::uint32_t handle) {
    append(U_EMRDELETEOBJECT_set(handle));
    emf_htable_delete(&handle, handles_->table);
}

void EmfCanvas::select_current_objects() {
    append(U_EMRSELECTOBJECT_set(pen_));
    if (font_ != 0) {
        append(U_EMRSELECTOBJECT_set(font_));
    }
    append(U_EMRSELECTOBJECT_set(U_NULL_BRUSH));
}

void EmfCanvas::end_clip() {
    if (!clipped_) {
        return;
    }
    append(U_EMRRESTOREDC_set(-1));
    clipped_ = false;
    at_known_ = false;
    select_current_objects();
    for (const std::uint32_t handle : deferred_deletes_) {
        delete_object(handle);
    }
    deferred_deletes_.clear();
}

std::string EmfCanvas::set_font(const print::FontRequest& font) {
    QFont chosen(program_text(font.face));
    chosen.setPixelSize(std::max(1, font.char_height));
    chosen.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    chosen.setItalic(font.italic);
    qfont_ = chosen;
    escapement_ = font.escapement;
    const QString obtained = QFontInfo(qfont_).family();

    // The picture names the face asked for, so that a viewer with that face uses it.
    const QString face = font.face.empty() ? obtained : program_text(font.face).trimmed();
    auto face_name = utf16_field<U_LF_FACESIZE>(face);
    auto full_name = utf16_field<U_LF_FULLFACESIZE>(face);
    auto style = utf16_field<U_LF_FACESIZE>(QString());
    const U_LOGFONT logfont =
        logfont_set(-std::max(1, font.char_height), 0, font.escapement, font.escapement,
                    std::clamp(font.weight, 0, 1000), font.italic ? 1 : 0, 0, 0, U_DEFAULT_CHARSET,
                    U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY,
                    U_DEFAULT_PITCH | U_FF_DONTCARE, face_name.data());
    U_LOGFONT_PANOSE extended = logfont_panose_set(logfont, full_name.data(), style.data(), 0,
                                                   panose_set(0, 0, 0, 0, 0, 0, 0, 0, 0, 0));

    const std::uint32_t handle = new_handle();
    append(
        U_EMREXTCREATEFONTINDIRECTW_set(handle, nullptr, reinterpret_cast<const char*>(&extended)));
    append(U_EMRSELECTOBJECT_set(handle));
    retire(font_);
    font_ = handle;
    const QByteArray bytes = obtained.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

print::TextSize EmfCanvas::text_extent(std::string_view text) const {
    const QFontMetricsF metrics(qfont_);
    return {static_cast<int>(std::lround(metrics.horizontalAdvance(program_text(text)))),
            QFontMetrics(qfont_).height()};
}

void EmfCanvas::draw_text(int x, int y, std::string_view text) {
    const QString string = program_text(text);
    if (string.isEmpty()) {
        return;
    }
    if (font_ == 0) {
        set_font({"", DPI * 10 / 72, 0, 400, false});
    }
    // Every character's own advance, rounded so that the advances add up to the
    // text's width: viewers that space by them then keep the font's spacing.
    const QFontMetricsF metrics(qfont_);
    std::vector<std::uint32_t> advances(static_cast<std::size_t>(string.size()), 0);
    long placed = 0;
    for (qsizetype i = 0; i < string.size(); ++i) {
        if (string.at(i).isHighSurrogate() && i + 1 < string.size()) {
            continue;  // the pair's advance goes to its second half
        }
        const long end = std::lround(metrics.horizontalAdvance(string.left(i + 1)));
        advances[static_cast<std::size_t>(i)] =
            static_cast<std::uint32_t>(std::max(0L, end - placed));
        placed = std::max(placed, end);
    }
    const U_RECTL bounds =
        text_bounds(x, y, static_cast<double>(placed), QFontMetrics(qfont_).height(), escapement_);
    char* emr_text = emrtext_set(point32_set(x, y), static_cast<U_NUM_STR>(string.size()), 2,
                                 const_cast<void*>(static_cast<const void*>(string.utf16())),
                                 U_ETO_NONE, rectl(0, 0, -1, -1), advances.data());
    if (emr_text == nullptr) {
        return;
    }
    // In the compatible graphics mode the scales give 0.01 mm per unit.
    append(U_EMREXTTEXTOUTW_set(bounds, U_GM_COMPATIBLE, static_cast<U_FLOAT>(scale_x_),
                                static_cast<U_FLOAT>(scale_y_),
                                reinterpret_cast<PU_EMRTEXT>(emr_text)));
    std::free(emr_text);
}

void EmfCanvas::set_pen(const print::Pen& pen) {
    if (pen_ != 0 && pen.width == pen_style_.width && pen.rgb == pen_style_.rgb) {
        return;
    }
    const std::uint32_t handle = new_handle();
    append(U_EMRCREATEPEN_set(
        handle, logpen_set(U_PS_SOLID, point32_set(std::max(0, pen.width), 0), colour(pen.rgb))));
    append(U_EMRSELECTOBJECT_set(handle));
    retire(pen_);
    pen_ = handle;
    pen_style_ = pen;
}

void EmfCanvas::draw_line(int x1, int y1, int x2, int y2) {
    append(U_EMRMOVETOEX_set(point32_set(x1, y1)));
    append(U_EMRLINETO_set(point32_set(x2, y2)));
    at_known_ = false;
}

void EmfCanvas::draw_rectangle(const print::Rect& rect) {
    append(U_EMRRECTANGLE_set(rectl(rect.left, rect.top, rect.right, rect.bottom)));
}

void EmfCanvas::fill_rectangle(const print::Rect& rect, std::uint32_t rgb) {
    const std::uint32_t brush = new_handle();
    append(U_EMRCREATEBRUSHINDIRECT_set(brush, logbrush_set(U_BS_SOLID, colour(rgb), 0)));
    append(U_EMRSELECTOBJECT_set(brush));
    append(U_EMRSELECTOBJECT_set(U_NULL_PEN));
    append(U_EMRRECTANGLE_set(rectl(rect.left, rect.top, rect.right, rect.bottom)));
    append(U_EMRSELECTOBJECT_set(pen_));
    append(U_EMRSELECTOBJECT_set(U_NULL_BRUSH));
    delete_object(brush);
}

void EmfCanvas::set_clip(const std::optional<print::Rect>& rect) {
    end_clip();
    if (rect) {
        append(U_EMRSAVEDC_set());
        append(U_EMRINTERSECTCLIPRECT_set(rectl(rect->left, rect->top, rect->right, rect->bottom)));
        clipped_ = true;
    }
}

void EmfCanvas::fill_white() {
    fill_rectangle({0, 0, WIDTH, HEIGHT}, 0xFFFFFF);
}

void EmfCanvas::move_to(int x, int y) {
    at_ = {x, y};
    append(U_EMRMOVETOEX_set(point32_set(x, y)));
    at_known_ = true;
}

void EmfCanvas::line_to(int x, int y) {
    if (!at_known_) {
        append(U_EMRMOVETOEX_set(point32_set(at_.x, at_.y)));
    }
    append(U_EMRLINETO_set(point32_set(x, y)));
    at_ = {x, y};
    at_known_ = true;
}

void EmfCanvas::polyline(std::span<const display::Point> points) {
    if (points.size() < 2) {
        return;
    }
    const auto count = static_cast<std::uint32_t>(points.size());
    const auto fits16 = [](const display::Point& p) {
        constexpr int low = std::numeric_limits<std::int16_t>::min();
        constexpr int high = std::numeric_limits<std::int16_t>::max();
        return p.x >= low && p.x <= high && p.y >= low && p.y <= high;
    };
    const auto width = static_cast<std::uint32_t>(std::max(1, pen_style_.width));
    if (std::all_of(points.begin(), points.end(), fits16)) {
        std::vector<U_POINT16> small(points.size());
        std::transform(points.begin(), points.end(), small.begin(), [](const display::Point& p) {
            return point16_set(static_cast<std::int16_t>(p.x), static_cast<std::int16_t>(p.y));
        });
        append(U_EMRPOLYLINE16_set(findbounds16(count, small.data(), width), count, small.data()));
    } else {
        std::vector<U_POINTL> large(points.size());
        std::transform(points.begin(), points.end(), large.begin(),
                       [](const display::Point& p) { return point32_set(p.x, p.y); });
        append(U_EMRPOLYLINE_set(findbounds(count, large.data(), width), count, large.data()));
    }
}

std::optional<std::string> EmfCanvas::finish() {
    if (!finished_) {
        end_clip();
        append(U_EMRSELECTOBJECT_set(U_BLACK_PEN));
        delete_object(pen_);
        if (font_ != 0) {
            append(U_EMRSELECTOBJECT_set(U_SYSTEM_FONT));
            delete_object(font_);
        }
        finished_ = true;
    }
    // libuemf writes only to a file it opens itself: a private one, read back.
    QTemporaryFile scratch(QDir::tempPath() + "/vorelbox-picture-XXXXXX.emf");
    if (!scratch.open()) {
        return std::nullopt;
    }
    scratch.close();
    const QByteArray scratch_name = QFile::encodeName(scratch.fileName());

    Track track;
    if (emf_start(scratch_name.constData(),
                  static_cast<std::uint32_t>(header_.size() + records_.size() + 64), 4096,
                  &track.et) != 0) {
        return std::nullopt;
    }
    // emf_append copies a record when it is not to free it.
    auto* header = reinterpret_cast<U_ENHMETARECORD*>(header_.data());
    if (emf_append(header, track.et, 0) != 0) {
        return std::nullopt;
    }
    for (std::size_t at = 0; at < records_.size(); at += record_size(records_.data() + at)) {
        if (emf_append(reinterpret_cast<U_ENHMETARECORD*>(records_.data() + at), track.et, 0) !=
            0) {
            return std::nullopt;
        }
    }
    char* end = U_EMREOF_set(0, nullptr, track.et);
    const bool ended =
        end != nullptr && emf_append(reinterpret_cast<U_ENHMETARECORD*>(end), track.et, 0) == 0;
    std::free(end);
    if (!ended) {
        return std::nullopt;
    }
    const std::size_t size = track.et->used;
    if (emf_finish(track.et, handles_->table) != 0) {
        return std::nullopt;
    }
    QFile written(scratch.fileName());
    if (!written.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = written.readAll();
    // libuemf does not check its closing of the file: the size tells.
    if (static_cast<std::size_t>(bytes.size()) != size) {
        return std::nullopt;
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace vorelbox::platform
