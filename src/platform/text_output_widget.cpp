#include "text_output_widget.h"

#include <QEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

#include "find_dialog.h"
#include "pasted_spectrum.h"
#include "qt_ui.h"

namespace vorelbox::platform {
namespace {

constexpr int RESIZE_DELAY_MS = 100;
constexpr const char* DEFAULT_REPORT_FONT = "Courier New";

bool is_utf8(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !utf8.hasError();
}

// A row as the text area shows it: characters that would break it into two
// lines become blanks, so that rows and text blocks stay one to one.
QString one_line(QString text) {
    for (QChar& c : text) {
        if (c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            c = u' ';
        }
    }
    return text;
}

int to_int(display::LineNumber value) {
    return static_cast<int>(std::clamp<display::LineNumber>(value, INT_MIN, INT_MAX));
}

}  // namespace

TextOutputWidget::TextOutputWidget(common::Ui& ui, common::Clipboard& clipboard, QWidget* parent)
    : QWidget(parent), ui_(ui), clipboard_(clipboard) {
    setObjectName(QStringLiteral("textOutputPage"));

    auto* file_caption = new QLabel(tr("Filename:"), this);
    file_name_ = new QLabel(this);
    file_name_->setObjectName(QStringLiteral("fileNameLabel"));
    file_name_->setTextFormat(Qt::PlainText);
    line_numbers_ = new QPushButton(QStringLiteral("#"), this);
    line_numbers_->setObjectName(QStringLiteral("lineNumbersButton"));
    line_numbers_->setCheckable(true);
    line_numbers_->setFixedWidth(line_numbers_->fontMetrics().horizontalAdvance(QStringLiteral("###")) + 8);

    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName(QStringLiteral("viewerEdit"));
    edit_->setReadOnly(true);
    edit_->setUndoRedoEnabled(false);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The page's own scroll bar moves through the file; the text area holds one screenful.
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("viewerScroll"));
    scroll_->setRange(1, 1);
    scroll_->setPageStep(to_int(display::SCROLL_PAGE));

    resize_timer_ = new QTimer(this);
    resize_timer_->setSingleShot(true);
    resize_timer_->setInterval(RESIZE_DELAY_MS);
    connect(resize_timer_, &QTimer::timeout, this, [this] {
        if (!viewer_.shown_file.empty()) {
            redraw();
        }
    });

    auto* top = new QHBoxLayout;
    top->addWidget(file_caption);
    top->addWidget(file_name_, 1);
    top->addWidget(line_numbers_);
    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    body->addWidget(edit_, 1);
    body->addWidget(scroll_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);

    connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != viewer_.first_line) {
            scroll_to(value);
        }
    });
    connect(line_numbers_, &QPushButton::toggled, this, [this](bool on) {
        viewer_.line_numbers = on;
        redraw();
    });

    for (QObject* watched : {static_cast<QObject*>(edit_), static_cast<QObject*>(scroll_),
                             static_cast<QObject*>(line_numbers_), static_cast<QObject*>(edit_->viewport())}) {
        watched->installEventFilter(this);
    }
    set_report_font(DEFAULT_REPORT_FONT, std::to_string(display::DEFAULT_FONT_POINTS));
}

bool TextOutputWidget::show_file(const std::string& path, const std::string& kind, const std::string& caption) {
    viewer_.client_height = edit_->viewport()->height();
    if (!display::SHOW_RESULT(ui_, viewer_, path, kind, caption)) {
        return false;
    }
    render();
    return true;
}

void TextOutputWidget::refresh() {
    if (!viewer_.shown_file.empty()) {
        redraw();
    }
}

void TextOutputWidget::set_report_font(const std::string& name, const std::string& size_text) {
    const double points = display::report_font_points(size_text);
    QFont font(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(points);
    edit_->setFont(font);
    viewer_.font_points = std::max(1, static_cast<int>(points));
    refresh();
}

void TextOutputWidget::scroll_key(display::ViewerKey key) {
    scroll_to(display::key_position(viewer_, key));
}

void TextOutputWidget::open_find() {
    const display::SearchRequest request{display::SearchCommand::OpenFind, std::nullopt, std::nullopt, selection()};
    if (display::SEARCH_RESULT(ui_, viewer_, request) != display::SearchAction::ShowDialog) {
        return;
    }
    FindDialog dialog(decoded(viewer_.find.text), viewer_.find, this);
    const FindDialog::Choice choice = dialog.ask();
    if (choice == FindDialog::Choice::Cancel) {
        return;
    }
    display::FindSettings settings = dialog.options();
    settings.text = encoded(dialog.text());
    search(choice == FindDialog::Choice::FindNext ? display::SearchCommand::FindNext
                                                   : display::SearchCommand::FindPrevious,
           settings);
}

void TextOutputWidget::find_next() {
    search(display::SearchCommand::FindNext, std::nullopt);
}

void TextOutputWidget::find_previous() {
    search(display::SearchCommand::FindPrevious, std::nullopt);
}

void TextOutputWidget::copy_selection() {
    const QString text = edit_->toPlainText();
    const QTextCursor cursor = edit_->textCursor();
    const display::CopyRange range = display::copy_range(static_cast<std::size_t>(cursor.anchor()),
                                                         static_cast<std::size_t>(cursor.position()),
                                                         static_cast<std::size_t>(text.size()));
    const QByteArray bytes =
        text.mid(static_cast<qsizetype>(range.start), static_cast<qsizetype>(range.end - range.start)).toUtf8();
    spectra::WRITETOCLIPBOARD(clipboard_, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void TextOutputWidget::focus_viewer() {
    edit_->setFocus(Qt::OtherFocusReason);
}

bool TextOutputWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_->viewport()) {
        if (event->type() == QEvent::Resize) {
            resize_timer_->start();
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::ShortcutOverride) {
            // The page keeps its keys from the window's shortcuts and the text area's own use.
            const int code = key->key();
            const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
            const bool ours = code == Qt::Key_PageUp || code == Qt::Key_PageDown || code == Qt::Key_Up ||
                              code == Qt::Key_Down || code == Qt::Key_F3 ||
                              (ctrl && (code == Qt::Key_Home || code == Qt::Key_End || code == Qt::Key_F ||
                                        code == Qt::Key_C));
            if (ours) {
                event->accept();
                return true;
            }
        } else if (handle_key(key->key(), key->modifiers())) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TextOutputWidget::handle_key(int key, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    switch (key) {
        case Qt::Key_PageUp:
            scroll_key(display::ViewerKey::PageUp);
            return true;
        case Qt::Key_PageDown:
            scroll_key(display::ViewerKey::PageDown);
            return true;
        case Qt::Key_Up:
            scroll_key(display::ViewerKey::Up);
            return true;
        case Qt::Key_Down:
            scroll_key(display::ViewerKey::Down);
            return true;
        case Qt::Key_F3:
            if (modifiers.testFlag(Qt::ShiftModifier)) {
                find_previous();
            } else {
                find_next();
            }
            return true;
        default:
            break;
    }
    if (!ctrl) {
        return false;
    }
    switch (key) {
        case Qt::Key_Home:
            scroll_key(display::ViewerKey::Home);
            return true;
        case Qt::Key_End:
            scroll_key(display::ViewerKey::End);
            return true;
        case Qt::Key_F:
            open_find();
            return true;
        case Qt::Key_C:
            copy_selection();
            return true;
        default:
            return false;
    }
}

QWidget* TextOutputWidget::text_area() const { return edit_->viewport(); }

void TextOutputWidget::scroll_to(display::LineNumber position) {
    viewer_.first_line = position;
    redraw();
}

void TextOutputWidget::redraw() {
    viewer_.client_height = edit_->viewport()->height();
    display::SCROLL_RESULT(ui_, viewer_);
    render();
}

void TextOutputWidget::search(display::SearchCommand command, const std::optional<display::FindSettings>& dialog) {
    edit_->setFocus();
    viewer_.client_height = edit_->viewport()->height();
    const display::SearchRequest request{command, dialog, caret(), std::nullopt};
    if (display::SEARCH_RESULT(ui_, viewer_, request) == display::SearchAction::Redraw) {
        render();
    }
}

void TextOutputWidget::render() {
    file_name_->setText(QtUi::display_text(viewer_.caption));
    setWindowTitle(QtUi::display_text(viewer_.kind));
    {
        const QSignalBlocker block(line_numbers_);
        line_numbers_->setChecked(viewer_.line_numbers);
    }
    {
        // A hit near the end may put the view past the usual end of the range.
        const QSignalBlocker block(scroll_);
        scroll_->setRange(1, to_int(std::max(display::scroll_maximum(viewer_), viewer_.first_line)));
        scroll_->setValue(to_int(viewer_.first_line));
    }

    const display::ViewText& view = viewer_.view;
    latin1_ = !is_utf8(view.text());
    QStringList rows;
    for (const display::ViewRow& row : view.rows) {
        rows.append(one_line(decoded(row.text)));
    }
    edit_->setPlainText(rows.join(u'\n'));
    if (view.highlight && view.highlight->row < view.rows.size()) {
        const display::Highlight& h = *view.highlight;
        const std::string& row = view.rows[h.row].text;
        const int block = edit_->document()->findBlockByNumber(static_cast<int>(h.row)).position();
        QTextCursor cursor(edit_->document());
        cursor.setPosition(block + static_cast<int>(decoded(row.substr(0, h.start)).size()));
        cursor.setPosition(block + static_cast<int>(decoded(row.substr(0, h.start + h.length)).size()),
                           QTextCursor::KeepAnchor);
        edit_->setTextCursor(cursor);
    }
    // The text area may hold a row or two more than it shows; its top stays the view's top.
    edit_->verticalScrollBar()->setValue(0);
}

std::optional<display::ViewPosition> TextOutputWidget::caret() const {
    const QTextCursor cursor = edit_->textCursor();
    const auto row = static_cast<std::size_t>(cursor.blockNumber());
    if (row >= viewer_.view.rows.size()) {
        return std::nullopt;
    }
    return display::ViewPosition{row, byte_offset(row, cursor.positionInBlock())};
}

std::optional<display::ViewSelection> TextOutputWidget::selection() const {
    const QTextCursor cursor = edit_->textCursor();
    if (!cursor.hasSelection()) {
        return std::nullopt;
    }
    const QTextBlock block = edit_->document()->findBlock(cursor.selectionStart());
    const auto row = static_cast<std::size_t>(block.blockNumber());
    if (row >= viewer_.view.rows.size()) {
        return std::nullopt;
    }
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return display::ViewSelection{{row, byte_offset(row, cursor.selectionStart() - block.position())}, encoded(text)};
}

QString TextOutputWidget::decoded(const std::string& bytes) const {
    const auto size = static_cast<qsizetype>(bytes.size());
    return latin1_ ? QString::fromLatin1(bytes.data(), size) : QString::fromUtf8(bytes.data(), size);
}

std::string TextOutputWidget::encoded(const QString& text) const {
    const QByteArray bytes = latin1_ ? text.toLatin1() : text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::size_t TextOutputWidget::byte_offset(std::size_t row, int char_offset) const {
    return encoded(decoded(viewer_.view.rows[row].text).left(char_offset)).size();
}

}  // namespace vorelbox::platform
