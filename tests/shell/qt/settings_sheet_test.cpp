// The settings sheet: live display settings and the Quality page's rules.
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include "tests/shell/qt/qt_test_registry.h"
#include "tests/shell/qt/window_fixture.h"

namespace vx::test {

class SettingsSheetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void displayPageChangesSettingsAtOnce() {
        WindowFixture f;
        f.window->runCommand(kCmdDisplaySettings);
        SettingsSheet* sheet = f.window->settingsSheet();
        QVERIFY(sheet);
        QCOMPARE(sheet->windowTitle(), QString("Vexalo Settings"));
        QCOMPARE(sheet->pages()->tabText(0), QString("Display"));
        QCOMPARE(sheet->pages()->tabText(1), QString("Quality"));
        QCOMPARE(sheet->pages()->currentIndex(), 0);
        DisplayPage* page = sheet->displayPage();

        struct Slider {
            const char* name;
            int min, max;
            const char* label;
        } sliders[] = {{"opacity", 0, 100, "15%"}, {"intensity", 0, 100, "85%"}, {"zoom", 0, 100, "72%"},
                       {"fov", 15, 100, "45\u00B0"}};
        for (const Slider& s : sliders) {
            QSlider* slider = page->slider(s.name);
            QVERIFY(slider);
            QCOMPARE(slider->minimum(), s.min);
            QCOMPARE(slider->maximum(), s.max);
            QCOMPARE(slider->singleStep(), 5);
            QCOMPARE(slider->pageStep(), 20);
            QCOMPARE(page->valueLabel(s.name)->text(), QString::fromUtf8(s.label));
        }
        page->slider("fov")->setValue(page->slider("fov")->minimum());
        QCOMPARE(page->valueLabel("fov")->text(), QString::fromUtf8("15\u00B0"));
        QCOMPARE(f.window->displaySettings().fov, 15);
        page->slider("opacity")->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(f.window->displaySettings().opacity, 35);
        QCOMPARE(page->valueLabel("opacity")->text(), QString("35%"));

        page->checkBox("axes3D")->click();
        QCOMPARE(f.window->displaySettings().axes3D, 1);
        page->checkBox("antiAlias")->click();
        QCOMPARE(f.window->displaySettings().antiAlias, 0);
        page->lighting()->button(1)->click();
        QCOMPARE(f.window->displaySettings().lighting, 1);

        // Changed elsewhere: the page shows it when it is opened again.
        f.window->displaySettings().zoom = 90;
        f.window->runCommand(kCmdDisplaySettings);
        QCOMPARE(f.window->settingsSheet(), sheet);
        QCOMPARE(page->slider("zoom")->value(), 90);
        QCOMPARE(page->valueLabel("zoom")->text(), QString("90%"));
    }

    void qualityPageRules() {
        WindowFixture f;
        f.window->runCommand(kCmdQualitySettings);
        SettingsSheet* sheet = f.window->settingsSheet();
        QCOMPARE(sheet->pages()->currentIndex(), 1);
        QualityPage* page = sheet->qualityPage();
        QCOMPARE(page->selectedKind(), 0);
        QCOMPARE(page->groupTitle(), QString("2D Explicit/Parametric"));
        QCOMPARE(page->countText(), QString("160 Evals"));
        QVERIFY(!page->secondValueEnabled());
        QVERIFY(!page->stepButton(1, 0)->isEnabled());

        // The floor of 3.
        page->namedButton("Low")->click();
        QCOMPARE(page->firstValueText(), QString("80"));
        for (int k = 0; k < 8; ++k) page->stepButton(0, 0)->click();
        QCOMPARE(page->firstValueText(), QString("3"));
        page->stepButton(0, 3)->click();
        page->stepButton(0, 2)->click();
        QCOMPARE(page->firstValueText(), QString("14"));
        QCOMPARE(page->countText(), QString("14 Evals"));

        // High on 3D Vector: grid 12, stream 6, nothing else.
        page->kinds()->button(9)->click();
        QCOMPARE(page->groupTitle(), QString("3D Vector"));
        QVERIFY(page->secondValueEnabled());
        page->namedButton("High")->click();
        QCOMPARE(page->workingCopy().vector3dGrid, 12);
        QCOMPARE(page->workingCopy().vector3dStream, 6);
        QCOMPARE(page->workingCopy().vector2dGrid, 16);
        QCOMPARE(page->countText(), QString("12*12*12 = 1728 Evals"));
        page->streams()->click();
        QCOMPARE(page->countText(), QString("12*12*12*6 = 10368 Evals"));

        // Nothing is applied before Apply.
        QCOMPARE(f.window->qualitySettings().plotSamples, 160);
        page->namedButton("Apply")->click();
        QCOMPARE(f.window->qualitySettings().plotSamples, 14);
        QCOMPARE(f.window->qualitySettings().vector3dGrid, 12);
        QCOMPARE(f.window->qualitySettings().vectorStreams, 1);

        // One sheet at most; Display Settings brings it to page 0.
        f.window->runCommand(kCmdDisplaySettings);
        QCOMPARE(f.window->settingsSheet(), sheet);
        QCOMPARE(sheet->pages()->currentIndex(), 0);
        sheet->close();
        QTRY_VERIFY(!f.window->settingsSheet());
    }

    void sheetIsATopLevelWindowEntirelyInViewAndEscapeClosesIt() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.window->runCommand(kCmdDisplaySettings);
        SettingsSheet* sheet = f.window->settingsSheet();
        QVERIFY(QTest::qWaitForWindowExposed(sheet));
        QVERIFY(sheet->isWindow());
        QCOMPARE(sheet->windowType(), Qt::Tool);
        QCOMPARE(sheet->windowTitle(), QString("Vexalo Settings"));
        QVERIFY(sheet->screen()->availableGeometry().contains(sheet->frameGeometry()));
        // Every control of both pages lies inside the sheet at its own size.
        for (int page : {0, 1}) {
            sheet->pages()->setCurrentIndex(page);
            QWidget* shown = sheet->pages()->widget(page);
            QVERIFY(!shown->findChildren<QWidget*>().isEmpty());
            for (QWidget* w : shown->findChildren<QWidget*>()) {
                if (!w->isVisibleTo(shown)) continue;
                QRect inSheet(w->mapTo(sheet, QPoint(0, 0)), w->size());
                QVERIFY2(sheet->rect().contains(inSheet), qPrintable(w->objectName() + " " + w->metaObject()->className()));
            }
        }
        // Escape closes it from any control, not only from the focused sheet.
        for (const char* name : {"fov", "intensity"}) {
            f.window->runCommand(kCmdDisplaySettings);
            QVERIFY(QTest::qWaitForWindowExposed(f.window->settingsSheet()));
            QSlider* slider = f.window->settingsSheet()->displayPage()->slider(name);
            slider->setFocus();
            QTest::keyClick(slider, Qt::Key_Escape);
            QTRY_VERIFY(!f.window->settingsSheet());
        }
    }

    void applyWhileWorkingStopsTheWorker() {
        WindowFixture f;
        f.window->runCommand(kCmdQualitySettings);
        QualityPage* page = f.window->settingsSheet()->qualityPage();
        f.submit("sum(k,k,1,100000000)");
        QVERIFY(QTest::qWaitFor([&] { return f.window->engine().working.load() == 1; }, 5000));
        page->namedButton("Med")->click();  // no change for the shown kind: the worker goes on
        page->namedButton("Apply")->click();
        QCOMPARE(f.window->engine().abortRequested.load(), 0);
        f.window->runCommand(kCmdRecalculate);
        QVERIFY(f.waitIdle());
    }
};

VX_QT_TEST(SettingsSheetTest);

}  // namespace vx::test

#include "settings_sheet_test.moc"
