// The Spectrum adder page: its groups, how it shows the adder's state, the
// commands its controls send and the values it hands back.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include <utility>
#include <vector>

#include "adder_page.h"
#include "adder_page_widget.h"

using vorelbox::adder::AdderCommand;
using vorelbox::adder::AdderState;
using vorelbox::platform::AdderPageWidget;

namespace {

using Sent = std::vector<std::pair<AdderCommand, int>>;

// Records every command the page sends.
void record(AdderPageWidget& page, Sent& sent) {
    QObject::connect(&page, &AdderPageWidget::command,
                     [&sent](AdderCommand c, int argument) { sent.emplace_back(c, argument); });
}

template <typename T>
T* child(const QWidget& page, const char* name) {
    T* found = page.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qWarning("no control %s", name);
    }
    return found;
}

// A list of two spectra, the second selected, and a file of three spectra at the input.
AdderState two_row_state() {
    AdderState s;
    s.list.channels = 1024;
    s.page.input_file_text = "run7.spe";
    s.page.selection_items = {"1: first", "2: second", "3: third"};
    s.page.selected_input = 2;
    s.page.spin_visible = true;
    s.page.spin_maximum = 3;
    s.page.include_enabled = true;
    s.page.list_commands_enabled = true;
    s.page.row_commands_enabled = true;
    s.page.number_of_channels = "1024";
    s.page.displayed_channels = 256;
    s.page.scroll_position = 100;
    s.page.list_view.rows = {{"A", "Sample 300 K", "1", "/data/a.spe", false},
                             {"B", "Sample 20 K", "4", "/data/b.chn", true}};
    return s;
}

}  // namespace

class TestAdderPage : public QObject {
    Q_OBJECT

  private slots:
    void groups_and_captions() {
        AdderPageWidget page;
        QStringList titles;
        for (const QGroupBox* g : page.findChildren<QGroupBox*>()) {
            titles.append(g->title());
        }
        QCOMPARE(titles, (QStringList{"Input spectrum", "Spectrum list", "Display"}));
        QCOMPARE(child<QPushButton>(page, "includeAllButton")->text(),
                 QStringLiteral("I&nclude all"));
        QCOMPARE(child<QPushButton>(page, "removeAllButton")->text(),
                 QStringLiteral("Remo&ve All"));
        QCOMPARE(child<QRadioButton>(page, "logRadio")->text(), QStringLiteral("  log"));
        QCOMPARE(child<QRadioButton>(page, "linRadio")->text(), QStringLiteral("  lin"));
        QVERIFY(child<vorelbox::platform::PlotArea>(page, "plotArea") != nullptr);
    }

    void render_shows_the_state_without_sending_commands() {
        AdderPageWidget page;
        Sent sent;
        record(page, sent);
        AdderState s = two_row_state();
        page.render(s);
        QVERIFY(sent.empty());

        auto* table = child<QTableWidget>(page, "listTable");
        QStringList headers;
        for (int c = 0; c < table->columnCount(); ++c) {
            headers.append(table->horizontalHeaderItem(c)->text());
        }
        QCOMPARE(headers, (QStringList{"#", "Spectrum ID", "Index", "Spectrum file"}));
        // The columns follow their content; the path takes what is left.
        QCOMPARE(table->horizontalHeader()->sectionResizeMode(2), QHeaderView::ResizeToContents);
        QCOMPARE(table->horizontalHeader()->sectionResizeMode(3), QHeaderView::Stretch);
        QVERIFY(table->columnWidth(1) >= table->fontMetrics().horizontalAdvance(QStringLiteral("Sample 20 K")));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(1, 0)->text(), QStringLiteral("B"));
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral("Sample 20 K"));
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("/data/a.spe"));
        for (const char* name :
             {"removeButton", "moveDownButton", "saveSpectraButton", "includeButton"}) {
            QVERIFY2(child<QPushButton>(page, name)->isEnabled(), name);
        }
        QCOMPARE(child<QLineEdit>(page, "inputFileEdit")->text(), QStringLiteral("run7.spe"));
        QCOMPARE(child<QComboBox>(page, "selectionCombo")->currentText(),
                 QStringLiteral("2: second"));
        QCOMPARE(child<QSpinBox>(page, "selectedSpectrumSpin")->value(), 2);
        QCOMPARE(child<QScrollBar>(page, "displayScroll")->value(), 100);

        AdderState back;
        page.read_into(back);
        QCOMPARE(back.list.selected_row, 2);

        // An emptied list leaves no rows behind and locks the list commands.
        s.page.list_view.rows.clear();
        s.page.list_commands_enabled = false;
        s.page.row_commands_enabled = false;
        s.page.spin_visible = false;
        page.render(s);
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(!child<QPushButton>(page, "removeAllButton")->isEnabled());
        QVERIFY(!child<QPushButton>(page, "removeButton")->isEnabled());
        QVERIFY(child<QSpinBox>(page, "selectedSpectrumSpin")->isHidden());
        page.read_into(back);
        QCOMPARE(back.list.selected_row, 0);
        QVERIFY(sent.empty());
    }

    void controls_send_their_commands() {
        AdderPageWidget page;
        page.render(two_row_state());
        Sent sent;
        record(page, sent);

        child<QPushButton>(page, "includeButton")->click();
        child<QPushButton>(page, "lookupButton")->click();
        child<QComboBox>(page, "selectionCombo")->setCurrentIndex(2);
        child<QSlider>(page, "zoomSlider")->setValue(4);
        child<QRadioButton>(page, "logRadio")->click();
        QCOMPARE(sent, (Sent{{AdderCommand::Include, 0},
                             {AdderCommand::Lookup, 0},
                             {AdderCommand::SpectrumSelection, 3},
                             {AdderCommand::XZoom, 4},
                             {AdderCommand::Log, 0}}));
        // The spin follows the list of spectra.
        QCOMPARE(child<QSpinBox>(page, "selectedSpectrumSpin")->value(), 3);

        // Selecting a row of the list, by the user, says so; a render does not.
        sent.clear();
        child<QTableWidget>(page, "listTable")->selectRow(0);
        QCOMPARE(sent, (Sent{{AdderCommand::ListSelection, 0}}));
        sent.clear();
        page.render(two_row_state());
        QVERIFY(sent.empty());
        QVERIFY(child<QTableWidget>(page, "listTable")->item(1, 0)->isSelected());
        QVERIFY(!child<QTableWidget>(page, "listTable")->item(0, 0)->isSelected());
    }

    void read_into_takes_the_control_values() {
        AdderPageWidget page;
        AdderState s = two_row_state();
        page.render(s);
        child<QRadioButton>(page, "displaySelectionRadio")->click();
        child<QRadioButton>(page, "logRadio")->click();
        child<QCheckBox>(page, "enhanceCheck")->click();
        child<QSlider>(page, "zoomSlider")->setValue(7);
        child<QScrollBar>(page, "displayScroll")->setValue(300);
        child<QSpinBox>(page, "selectedSpectrumSpin")->setValue(3);
        child<QTableWidget>(page, "listTable")->selectRow(0);

        page.read_into(s);
        QVERIFY(s.page.display_selection);
        QVERIFY(s.page.log_scale);
        QVERIFY(s.page.enhance_selected);
        QVERIFY(!s.page.show_sum);
        QCOMPARE(s.page.zoom_index, 7);
        QCOMPARE(s.page.scroll_position, 300);
        QCOMPARE(s.page.selected_input, 3);
        QCOMPARE(s.list.selected_row, 1);
    }
};

QTEST_MAIN(TestAdderPage)
#include "test_adder_page.moc"
