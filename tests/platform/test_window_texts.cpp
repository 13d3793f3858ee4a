// Every text of every page fits its widget, at the window's first size and at
// its minimum size. Run with QT_SCALE_FACTOR=2 as well (a second test does).
// With VORELBOX_SCREENSHOT_DIR set, each page is also saved as a picture there.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <sstream>

#include "app_state.h"
#include "cli.h"
#include "main_window.h"

using vorelbox::core::AppState;
using vorelbox::platform::MainWindow;

namespace {

// A text as the widget shows it: a mnemonic "&" is not drawn.
QString shown_text(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    t.remove(QLatin1Char('&'));
    t.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return t;
}

int text_width(const QFontMetrics& fm, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, fm.horizontalAdvance(line));
    }
    return widest;
}

QString describe(const QWidget* w, const QString& text, int needed, int available) {
    return QStringLiteral("%1 \"%2\" (%3): needs %4 px, shows %5 px")
        .arg(QString::fromLatin1(w->metaObject()->className()), text, w->objectName())
        .arg(needed)
        .arg(available);
}

// The texts that the widgets of `window` cut, one line each.
QStringList cut_texts(const QWidget& window) {
    QStringList cut;
    const auto check = [&cut](const QWidget* w, const QString& text, int needed, int available) {
        if (!text.trimmed().isEmpty() && needed > available) {
            cut.append(describe(w, text, needed, available));
        }
    };
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->window() != &window) {
            continue;
        }
        const QFontMetrics fm = w->fontMetrics();
        const QStyle* style = w->style();
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (label->wordWrap() || label->textFormat() == Qt::RichText || label->text().isEmpty()) {
                continue;
            }
            const QString text = label->buddy() != nullptr ? shown_text(label->text()) : label->text();
            const int available = label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
            check(w, text, text_width(fm, text), available);
        } else if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            const QString text = shown_text(button->text());
            // The text is drawn inside the frame with a little room on each side.
            const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w) + 2;
            check(w, text, text_width(fm, text) + 2 * frame, button->width());
        } else if (qobject_cast<const QCheckBox*>(w) != nullptr || qobject_cast<const QRadioButton*>(w) != nullptr) {
            const auto* b = static_cast<const QAbstractButton*>(w);
            check(w, shown_text(b->text()), b->sizeHint().width(), b->width());
        } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
            const QString text = shown_text(group->title());
            check(w, text, text_width(fm, text) + 2 * fm.averageCharWidth(), group->width());
        } else if (const auto* field = qobject_cast<const QLineEdit*>(w)) {
            // Short values (numbers, channel counts) must show whole; paths may scroll.
            if (field->text().size() <= 12 && qobject_cast<const QSpinBox*>(w->parentWidget()) == nullptr) {
                const QMargins m = field->textMargins();
                const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
                check(w, field->text(), text_width(fm, field->text()) + m.left() + m.right() + 2 * frame + 4,
                      field->width());
            }
        } else if (const auto* spin = qobject_cast<const QSpinBox*>(w)) {
            const QString text = spin->text();
            check(w, text, text_width(fm, text), spin->findChild<QLineEdit*>()->width());
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                const QString text = shown_text(tabs->tabText(i));
                check(w, text, text_width(fm, text) + 8, tabs->tabRect(i).width());
            }
        } else if (const auto* header = qobject_cast<const QHeaderView*>(w)) {
            if (header->orientation() != Qt::Horizontal || header->model() == nullptr) {
                continue;
            }
            for (int i = 0; i < header->count(); ++i) {
                if (header->isSectionHidden(i)) {
                    continue;
                }
                const QString text = header->model()->headerData(i, Qt::Horizontal).toString();
                check(w, text, text_width(header->fontMetrics(), text) + 8, header->sectionSize(i));
            }
        }
    }
    return cut;
}

}  // namespace

class TestWindowTexts : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(samples_.isValid());
        std::ostringstream out, err;
        QCOMPARE(vorelbox::cli::run_cli({"samples", "--output-dir", samples_.path().toStdString()}, out, err), 0);
        // Questions and warnings close at once: the pages are looked at, not used.
        auto* closer = new QTimer(this);
        connect(closer, &QTimer::timeout, this, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        closer->start(50);
    }

    void no_text_is_cut_on_any_page_data() {
        QTest::addColumn<int>("program");
        QTest::addColumn<bool>("minimum");
        QTest::addColumn<int>("first_program");  // the program the window comes up with
        QTest::newRow("adder, first size") << 1 << false << 1;
        QTest::newRow("adder, minimum size") << 1 << true << 1;
        QTest::newRow("adder after the converter, first size") << 1 << false << 2;
        QTest::newRow("converter, first size") << 2 << false << 2;
        QTest::newRow("converter, minimum size") << 2 << true << 2;
        QTest::newRow("converter after the adder, first size") << 2 << false << 1;
    }

    void no_text_is_cut_on_any_page() {
        QFETCH(int, program);
        QFETCH(bool, minimum);
        QFETCH(int, first_program);
        AppState state;
        state.program = first_program;
        MainWindow w(state);
        const QDir dir(samples_.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        if (program == 1) {
            w.open_files(vorelbox::core::plan_named_file(dir.filePath(QStringLiteral("pals-4096.vsl")).toStdString()));
            w.open_files({vorelbox::core::OpenAction::AddToList,
                          {dir.filePath(QStringLiteral("pals-maestro.chn")).toStdString()}});
        } else {
            w.open_files(vorelbox::core::plan_named_file(dir.filePath(QStringLiteral("pals-4096.dat")).toStdString()));
        }
        QCOMPARE(state.program, program);
        if (minimum) {
            w.resize(w.minimumSize());
        }
        QStringList cut;
        for (int tab = 0; tab < 3; ++tab) {
            w.page_tabs()->setCurrentIndex(tab);
            QTest::qWait(250);  // the pages lay out and redraw on their timers
            for (const QString& line : cut_texts(w)) {
                cut.append(QStringLiteral("page %1: %2").arg(tab + 1).arg(line));
            }
            if (first_program == program) {
                save_screenshot(w, program, tab, minimum);
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }

  private:
    static void save_screenshot(QWidget& w, int program, int tab, bool minimum) {
        const QByteArray folder = qgetenv("VORELBOX_SCREENSHOT_DIR");
        if (folder.isEmpty()) {
            return;
        }
        QDir().mkpath(QString::fromLocal8Bit(folder));
        static const char* pages[] = {"program", "text-output", "multispectrum"};
        const QString name = QStringLiteral("%1-%2-%3-x%4.png")
                                 .arg(program == 1 ? QStringLiteral("adder") : QStringLiteral("converter"))
                                 .arg(QString::fromLatin1(pages[tab]))
                                 .arg(minimum ? QStringLiteral("minimum") : QStringLiteral("first-size"))
                                 .arg(w.devicePixelRatio());
        w.grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(name));
    }

    QTemporaryDir samples_;
};

QTEST_MAIN(TestWindowTexts)
#include "test_window_texts.moc"
