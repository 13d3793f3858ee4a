#include "qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

namespace vorelbox::platform {
namespace {

QClipboard* system_clipboard() {
    return QGuiApplication::instance() != nullptr ? QGuiApplication::clipboard() : nullptr;
}

}  // namespace

std::optional<std::string> QtClipboard::text() {
    QClipboard* clipboard = system_clipboard();
    if (clipboard == nullptr || clipboard->mimeData() == nullptr) {
        return std::nullopt;
    }
    // Data that is not text (an image, say) reads as an empty text.
    const QByteArray bytes = clipboard->text().toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool QtClipboard::set_text(const std::string& text) {
    QClipboard* clipboard = system_clipboard();
    if (clipboard == nullptr) {
        return false;
    }
    clipboard->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

}  // namespace vorelbox::platform
