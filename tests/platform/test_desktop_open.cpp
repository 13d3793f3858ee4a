// Files from the desktop: the lock of a second start, the channel that hands
// its files to the running copy, and files dropped on the window.

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <future>
#include <sstream>

#include "app_state.h"
#include "cli.h"
#include "instance_channel.h"
#include "instance_lock.h"
#include "main_window.h"

using vorelbox::core::AppState;
using vorelbox::core::LockState;
using vorelbox::platform::MainWindow;

namespace {

// Closes every message box that opens, keeping its text: none is expected.
class MessageWatch : public QObject {
  public:
    MessageWatch() {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                texts.append(modal->property("text").toString());
                modal->close();
            }
        });
        timer->start(100);
    }
    QStringList texts;
};

// Drags the files over the window; true when the window accepts them. Drops
// them too when `drop`.
bool drag(MainWindow& w, const QStringList& files, bool drop) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& f : files) {
        urls.append(QUrl::fromLocalFile(f));
    }
    data.setUrls(urls);
    const QPoint at(w.width() / 2, w.height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    if (drop) {
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &dropped);
        return dropped.isAccepted();
    }
    return true;
}

}  // namespace

class TestDesktopOpen : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(samples_.isValid());
        std::ostringstream out, err;
        QCOMPARE(vorelbox::cli::run_cli({"samples", "--output-dir", samples_.path().toStdString()}, out, err), 0);
    }

    void the_log_is_locked_once_per_folder() {
        QTemporaryDir dir;
        const std::string path = QDir(dir.path()).filePath(QStringLiteral("Vorelbox.log")).toStdString();
        auto first = std::make_unique<vorelbox::core::InstanceLock>(path);
        QCOMPARE(first->state(), LockState::Held);
        const vorelbox::core::InstanceLock second(path);
        QCOMPARE(second.state(), LockState::Busy);
        first.reset();
        const vorelbox::core::InstanceLock third(path);
        QCOMPARE(third.state(), LockState::Held);
    }

    void an_unwritable_folder_moves_the_log_elsewhere() {
        QTemporaryDir dir;
        // A folder inside a file can never be made, not even by root.
        const std::string impossible = (samples_.path() + QStringLiteral("/pals-1024.dat/logs")).toStdString();
        const auto lock = vorelbox::core::lock_first_possible({impossible, dir.path().toStdString()});
        QCOMPARE(lock->state(), LockState::Held);
        QCOMPARE(QString::fromStdString(lock->path()), QDir(dir.path()).filePath(QStringLiteral("Vorelbox.log")));

        const auto none = vorelbox::core::lock_first_possible({impossible});
        QCOMPARE(none->state(), LockState::CannotCreate);
        QVERIFY(!none->reason().empty());
        QVERIFY(QString::fromStdString(none->path()).startsWith(QString::fromStdString(impossible)));
    }

    void a_second_start_hands_its_files_to_the_first() {
        const QString name = QStringLiteral("vorelbox-test-%1").arg(QCoreApplication::applicationPid());
        vorelbox::platform::InstanceServer server(name);
        QVERIFY(server.listening());
        QSignalSpy received(&server, &vorelbox::platform::InstanceServer::files_handed_over);
        auto handed = std::async(std::launch::async, [&name] {
            return vorelbox::platform::hand_over_files(name, {"/data/run 7.chn", "/data/b.dat"});
        });
        QTRY_VERIFY(handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QVERIFY(handed.get());
        QCOMPARE(received.count(), 1);
        QCOMPARE(received.front().front().toStringList(), (QStringList{"/data/run 7.chn", "/data/b.dat"}));

        // Nobody listening: the second start learns it at once.
        QVERIFY(!vorelbox::platform::hand_over_files(name + QStringLiteral("-none"), {"/a.dat"}, 500));
    }

    void dropped_files_open_by_kind() {
        MessageWatch messages;
        AppState state;
        MainWindow w(state);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QDir dir(samples_.path());

        QVERIFY(!drag(w, {dir.filePath(QStringLiteral("notes.txt"))}, false));
        QVERIFY(!drag(w, {samples_.path()}, false));
        QVERIFY(!drag(w, {dir.filePath(QStringLiteral("pals-1024.dat")), dir.filePath(QStringLiteral("pals-4096.dat"))},
                      false));

        // One spectrum file on the converter opens there.
        QVERIFY(drag(w, {dir.filePath(QStringLiteral("pals-1024.dat"))}, true));
        QTRY_COMPARE(state.converter.state.spectra, 3);
        QCOMPARE(state.program, 2);

        // A list switches to the adder and opens.
        QVERIFY(drag(w, {dir.filePath(QStringLiteral("pals-4096.vsl"))}, true));
        QTRY_COMPARE(state.adder.list.row_count(), 4);
        QCOMPARE(state.program, 1);
        QCOMPARE(w.page_tabs()->currentIndex(), 0);

        // Spectrum files on the adder page join the list.
        QVERIFY(drag(w, {dir.filePath(QStringLiteral("pals-maestro.chn")), dir.filePath(QStringLiteral("pals-tagged.spe"))},
                     true));
        QTRY_COMPARE(state.adder.list.row_count(), 6);
        QVERIFY(state.adder.list.not_saved);
        QVERIFY2(messages.texts.isEmpty(), qPrintable(messages.texts.join(QStringLiteral(" | "))));
    }

    void handed_over_files_open_as_on_the_command_line() {
        MessageWatch messages;
        AppState state;
        state.program = 1;
        MainWindow w(state);
        w.show();
        const QDir dir(samples_.path());
        w.open_handed_over({dir.filePath(QStringLiteral("pals-8192.dat"))});
        QCOMPARE(state.program, 2);
        QCOMPARE(state.converter.state.spectra, 2);
        w.open_handed_over({dir.filePath(QStringLiteral("pals-4096.vsl"))});
        QCOMPARE(state.program, 1);
        QCOMPARE(state.adder.list.row_count(), 4);
        QVERIFY2(messages.texts.isEmpty(), qPrintable(messages.texts.join(QStringLiteral(" | "))));
    }

  private:
    QTemporaryDir samples_;
};

QTEST_MAIN(TestDesktopOpen)
#include "test_desktop_open.moc"
