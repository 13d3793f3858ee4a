// Printing on a real Qt printer (a PDF file), and the page-setup dialog.

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <functional>

#include "page_setup_dialog.h"
#include "print_file.h"
#include "qt_print_device.h"
#include "ui.h"

using namespace vorelbox;

namespace {

// Records the messages; file dialogs answer from a queue.
class RecordingUi : public common::Ui {
  public:
    int show_message(const common::MessageRequest& request) override {
        messages.append(QString::fromStdString(request.text));
        return common::answer::ok;
    }
    void set_status_text(int, const std::string&) override {}
    std::string choose_file(const common::FileDialogRequest& request) override {
        file_requests.push_back(request);
        if (files.empty()) {
            return {};
        }
        std::string path = files.front();
        files.pop_front();
        return path;
    }
    std::optional<std::string> ask_label(const common::LabelRequest&) override { return std::nullopt; }

    QStringList messages;
    std::deque<std::string> files;
    std::vector<common::FileDialogRequest> file_requests;
};

// Runs `action` on the next modal dialog that is not `previous`.
void when_dialog(std::function<void(QDialog*)> action, QPointer<QDialog> previous = nullptr, int tries = 300) {
    QTimer::singleShot(10, [action = std::move(action), previous, tries]() mutable {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog == previous.data() || !dialog->isVisible()) {
            if (tries > 0) {
                when_dialog(std::move(action), previous, tries - 1);
            }
            return;
        }
        action(dialog);
    });
}

int page_objects(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n"));
}

}  // namespace

class TestPrintPdf : public QObject {
    Q_OBJECT

  private slots:
    void printsATextFileWithoutAPrinter();
    void pageSetupRefusesAnIllegalSize();
};

void TestPrintPdf::printsATextFileWithoutAPrinter() {
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        QSKIP("a printer is installed: the system print dialog would come up");
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString text_path = dir.filePath(QStringLiteral("result.txt"));
    {
        QFile text(text_path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("Lifetime  Intensity\n 182.5   81.2 %\n\fSecond page\n");
    }
    const std::string pdf_path = dir.filePath(QStringLiteral("result.pdf")).toStdString();

    RecordingUi ui;
    ui.files.push_back("");  // cancelled: nothing printed, nothing said
    print::PRINTFILE(platform::system_printer(nullptr, ui), ui, {}, "Vorelix Analysis", text_path.toStdString());
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(!QFile::exists(QString::fromStdString(pdf_path)));

    ui.files.push_back(pdf_path);
    print::PRINTFILE(platform::system_printer(nullptr, ui), ui, {}, "Vorelix Analysis", text_path.toStdString());
    QVERIFY(ui.messages.isEmpty());
    QCOMPARE(ui.file_requests.size(), std::size_t{2});
    QCOMPARE(ui.file_requests[1].default_extension, std::string(".pdf"));
    QCOMPARE(ui.file_requests[1].file_name, std::string("Vorelix Analysis.pdf"));

    QFile pdf(QString::fromStdString(pdf_path));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(page_objects(bytes), 2);  // the form feed began a second page
}

void TestPrintPdf::pageSetupRefusesAnIllegalSize() {
    const print::FontLists fonts = platform::installed_font_lists();
    QVERIFY(fonts.all.size() > fonts.monospaced.size());
    QVERIFY(std::find(fonts.monospaced.begin(), fonts.monospaced.end(), "DejaVu Sans Mono") != fonts.monospaced.end());
    QVERIFY(std::find(fonts.monospaced.begin(), fonts.monospaced.end(), "DejaVu Sans") == fonts.monospaced.end());

    QString shown_again_size;
    QString shown_again_margin;
    when_dialog([&](QDialog* first) {
        first->findChild<QLineEdit*>(QStringLiteral("leftMarginEdit"))->setText(QStringLiteral("1.25"));
        first->findChild<QComboBox*>(QStringLiteral("reportSizeCombo"))->setEditText(QStringLiteral("12"));
        first->findChild<QComboBox*>(QStringLiteral("graphicsSizeCombo"))->setEditText(QStringLiteral("x"));
        when_dialog(
            [&](QDialog* second) {
                shown_again_size = second->findChild<QComboBox*>(QStringLiteral("graphicsSizeCombo"))->currentText();
                shown_again_margin = second->findChild<QLineEdit*>(QStringLiteral("leftMarginEdit"))->text();
                second->findChild<QComboBox*>(QStringLiteral("graphicsSizeCombo"))->setEditText(QStringLiteral("14"));
                second->accept();
            },
            first);
        first->accept();
    });
    RecordingUi ui;
    const platform::PageSetupOutcome outcome = platform::run_page_setup_dialog(nullptr, ui, {});
    QCOMPARE(ui.messages, QStringList{QStringLiteral("Illegal fontsize")});
    QCOMPARE(shown_again_size, QStringLiteral("10"));
    QCOMPARE(shown_again_margin, QStringLiteral("1.25"));
    QVERIFY(outcome.accepted);
    QCOMPARE(outcome.setup.margins.left, 1.25);
    QCOMPARE(outcome.setup.report_font_size, std::string("12"));
    QCOMPARE(outcome.setup.graphics_font_size, std::string("14"));
    QCOMPARE(outcome.setup.report_font, std::string("Courier New"));
}

QTEST_MAIN(TestPrintPdf)
#include "test_print_pdf.moc"
