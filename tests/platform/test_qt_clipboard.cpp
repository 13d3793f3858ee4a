#include <QtTest>

#include "qt_clipboard.h"

class TestQtClipboard : public QObject {
    Q_OBJECT

  private slots:
    void gives_back_the_text_set_as_utf8() {
        vorelbox::platform::QtClipboard clipboard;
        QVERIFY(clipboard.set_text("12\n15 \xC2\xB5s"));
        QCOMPARE(clipboard.text(), std::optional<std::string>("12\n15 \xC2\xB5s"));
    }
};

QTEST_MAIN(TestQtClipboard)
#include "test_qt_clipboard.moc"
