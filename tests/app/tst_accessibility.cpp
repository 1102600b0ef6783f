#include "files/volumes.h"
#include "platform/accessibility.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "shell/catalogue.h"
#include "support/testsupport.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>

using namespace vorn;

namespace {

Form* open(const QString& window) {
    return findWindow(window)->open();
}

bool isLoaded(const QString& window) {
    const QList<Form*> loaded = Forms::instance().loadedForms();
    return std::any_of(loaded.cbegin(), loaded.cend(),
                       [&](const Form* form) { return form->objectName() == window; });
}

// Every control under `iface` whose accessible name is empty, or starts or ends with blanks
// (a braille display shows them as empty cells before the name), by object name.
void collectUnnamed(QAccessibleInterface* iface, QStringList& unnamed, QStringList& seen) {
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (!child)
            continue;
        QObject* object = child->object();
        const QString name = object ? object->objectName() : QString();
        const bool container = name.isEmpty() || name == QLatin1String("client") ||
                               name.startsWith(QLatin1String("qt_"));
        if (!container) {
            seen << name;
            const QString told = child->text(QAccessible::Name);
            if (told.trimmed().isEmpty() || told.trimmed() != told)
                unnamed << name;
        }
        if (child->role() != QAccessible::MenuBar)
            collectUnnamed(child, unnamed, seen);
    }
}

// What assistive tools find at `point` on the screen, going down from `window` as a screen
// reader's mouse review does, from each object to its child there.
QAccessibleInterface* foundAt(QWidget* window, QPoint point) {
    QAccessibleInterface* found = nullptr;
    for (QAccessibleInterface* at = QAccessible::queryAccessibleInterface(window); at;
         at = at->childAt(point.x(), point.y()))
        found = at;
    return found;
}

using Step = std::function<void(Form*)>;

// The labels under `root` of which assistive tools are told each change of text (those whose
// text can be selected or that take the focus) but that do not offer that text as text.
QStringList textlessLabels(const QWidget* root) {
    QStringList textless;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        const bool told = label->textInteractionFlags().testAnyFlags(
                              Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard) ||
                          label->focusPolicy() != Qt::NoFocus;
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(label)->textInterface();
        if (told && (!text || text->text(0, text->characterCount()) != label->text()))
            textless << label->objectName();
    }
    return textless;
}

} // namespace

// Walks the accessibility tree of every window: a screen reader must be able to name every
// control a user acts on or reads.
class TestAccessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::initRuntime(*qApp); }
    void cleanup() { test::destroyForms(); }

    void everyControlIsNamed_data() {
        QTest::addColumn<QString>("window");
        for (const WindowEntry& entry : windowCatalogue())
            QTest::newRow(entry.name) << QString::fromUtf8(entry.name);
    }
    void everyControlIsNamed() {
        QFETCH(QString, window);
        test::ScriptedDialogs dialogs;
        Form* form = open(window);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(form);
        QVERIFY(iface);
        QCOMPARE(iface->text(QAccessible::Name), form->windowTitle());
        QStringList unnamed;
        QStringList seen;
        collectUnnamed(iface, unnamed, seen);
        QVERIFY2(seen.size() > 1, qPrintable(seen.join(QLatin1Char(' '))));
        QVERIFY2(unnamed.isEmpty(),
                 qPrintable(QStringLiteral("unnamed: ") + unnamed.join(QLatin1Char(' '))));
    }

    // A screen reader that meets an object through one of its events (a list's scroll bar as
    // the list scrolls) asks where it stands in its parent: the parent either shows it at
    // that place or says it holds no such child, without a warning.
    void everyObjectStandsInItsParent_data() { everyControlIsNamed_data(); }
    void everyObjectStandsInItsParent() {
        QFETCH(QString, window);
        test::ScriptedDialogs dialogs;
        Form* form = open(window);
        for (QWidget* widget : form->findChildren<QWidget*>()) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
            QAccessibleInterface* parent = iface ? iface->parent() : nullptr;
            const int index = parent ? parent->indexOfChild(iface) : -1;
            QVERIFY2(index < 0 || parent->child(index) == iface, qPrintable(widget->objectName()));
        }
    }

    // A caption beside a picture is part of it, as a sighted user sees the two: it stands under
    // the picture, so that a screen reader reading the window line by line names it once.
    void picturesThatActAreButtons_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("close") << "Menu"
                               << "Image1"
                               << "Fermer"
                               << "Label1";
        QTest::newRow("write") << "SplashFin"
                               << "Image1"
                               << "Mes coordonnées"
                               << "";
        QTest::newRow("back") << "SplashFin"
                              << "Image2"
                              << "Retour au menu"
                              << "";
        QTest::newRow("quit") << "SplashFin"
                              << "Image3"
                              << "Quitter"
                              << "";
        QTest::newRow("animation") << "Color"
                                   << "Image1"
                                   << "Animation"
                                   << "";
    }
    void picturesThatActAreButtons() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        Form* form = open(window);
        QWidget* picture = form->findChild<QWidget*>(control);
        QVERIFY(picture);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picture);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QVERIFY(iface->actionInterface());
        QVERIFY(iface->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        QVERIFY(picture->focusPolicy() & Qt::TabFocus);
        QList<QAccessibleInterface*> parts;
        for (int i = 0; i < iface->childCount(); ++i)
            parts << iface->child(i);
        auto* label = caption.isEmpty() ? nullptr : form->findChild<QLabel*>(caption);
        QCOMPARE(parts, label ? QList{QAccessible::queryAccessibleInterface(label)}
                              : QList<QAccessibleInterface*>());
        if (label) {
            QCOMPARE(parts.first()->parent(), iface);
            QVERIFY(iface->rect().contains(parts.first()->rect()));
        }
        for (QWidget* part : {picture, static_cast<QWidget*>(label)}) {
            if (part)
                QCOMPARE(
                    foundAt(form, part->mapToGlobal(part->rect().center()))->object()->objectName(),
                    part->objectName());
        }
    }

    void pressingThePicturePerformsItsAction() {
        Form* menu = open(QStringLiteral("Menu"));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(
            menu->findChild<QWidget*>(QStringLiteral("Image1")));
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(isLoaded(QStringLiteral("SplashFin")));
        QVERIFY(!menu->isVisible());
    }

    // A window whose controls are all pictures opens with none of them focused, so a stray
    // key presses nothing; what has the focus then is the window, which a screen reader asked
    // where the user is names by its title. Tabbed to, the first picture takes the key as its
    // click.
    void strayKeyPressesNoPicture_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("opens");
        QTest::newRow("Menu, Enter") << "Menu" << int(Qt::Key_Return) << "SplashFin";
        QTest::newRow("Menu, Space") << "Menu" << int(Qt::Key_Space) << "SplashFin";
        QTest::newRow("SplashFin, Enter") << "SplashFin" << int(Qt::Key_Return) << "Courrier";
        QTest::newRow("SplashFin, Space") << "SplashFin" << int(Qt::Key_Space) << "Courrier";
    }
    void strayKeyPressesNoPicture() {
        QFETCH(QString, window);
        QFETCH(int, key);
        QFETCH(QString, opens);
        Form* form = open(window);
        QVERIFY(QTest::qWaitForWindowActive(form));
        QCOMPARE(QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                     ->text(QAccessible::Name),
                 form->windowTitle());
        QTest::keyClick(form->windowHandle(), Qt::Key(key));
        QCOMPARE(Forms::instance().loadedCount(), 1);
        QVERIFY(form->isVisible());
        QTest::keyClick(form->windowHandle(), Qt::Key_Tab);
        QCOMPARE(form->focusWidget()->objectName(), QStringLiteral("Image1"));
        QTest::keyClick(form->windowHandle(), Qt::Key(key));
        QVERIFY(isLoaded(opens));
    }

    // A result is told once the event that produced it is done, and only while its window
    // can be seen: nothing is said for a window hidden or gone by then.
    void announcementReachesOnlyAShownWindow_data() {
        QTest::addColumn<Step>("meanwhile");
        QTest::addColumn<QString>("told");
        QTest::newRow("shown") << Step([](Form*) {}) << "15,245 Euros";
        QTest::newRow("hidden") << Step([](Form* form) { Forms::instance().hideForm(form); }) << "";
        QTest::newRow("unloaded") << Step([](Form* form) { Forms::instance().unload(form); }) << "";
    }
    void announcementReachesOnlyAShownWindow() {
        QFETCH(Step, meanwhile);
        QFETCH(QString, told);
        QPointer<Form> form = open(QStringLiteral("VornEuro"));
        announce(form, QStringLiteral("15,245 Euros"));
        meanwhile(form);
        QCOMPARE(test::lastAnnouncement(form), told);
    }

    // A screen reader is told of each change to the text of a label that can be selected or
    // take the focus, and reads it from the label's text: every such label, in the windows as
    // in their boxes, offers its text.
    void toldLabelsOfferTheirText_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<Step>("ask");
        QTest::newRow("history") << "Color" << Step();
        QTest::newRow("message") << "Main" << Step([](Form* form) {
            msgBox(form, QStringLiteral("Année inconnue"), {}, QStringLiteral("Patriarches"));
        });
        QTest::newRow("error") << "Main" << Step([](Form* form) {
            reportRuntimeError(form, ErrorNumber::TypeMismatch, QString());
        });
    }
    void toldLabelsOfferTheirText() {
        QFETCH(QString, window);
        QFETCH(Step, ask);
        Form* form = open(window);
        QStringList textless = textlessLabels(form);
        QTimer inBox;
        connect(&inBox, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                inBox.stop();
                textless << textlessLabels(box);
                box->button(QMessageBox::Ok)->click();
            }
        });
        if (ask) {
            inBox.start(20);
            ask(form);
            QVERIFY(!inBox.isActive());
        }
        QVERIFY2(textless.isEmpty(), qPrintable(textless.join(QLatin1Char(' '))));
    }

    // A screen reader names a drop-down list, then reads its current entry from the list's text:
    // without that text it says the name alone, and the user never hears which drive is chosen.
    void dropDownListReadsAsItsCurrentEntry() {
        // The drives the list shows are the test's, whatever the machine mounts.
        setVolumeSource([] { return QList<Volume>{{"/", "ext4"}}; });
        auto* drives = open(QStringLiteral("Recherche"))->findChild<QComboBox*>("Drive1");
        setVolumeSource({});
        QVERIFY(drives);
        QVERIFY(!drives->currentText().isEmpty());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(drives);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Lecteurs"));
        QAccessibleTextInterface* text = iface->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), drives->currentText());
    }

    // What a screen reader reads of a text box, wherever the box aligns its text: the whole
    // text as one run, each character where it is drawn, in reading order, found again at
    // its place; and past the text, where the cursor stands as the user types, the place of
    // the next character.
    void textBoxTellsItsTextWhereItIsDrawn_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("box");
        QTest::newRow("left") << "Main"
                              << "Text1";
        QTest::newRow("right") << "VornEuro"
                               << "ecran";
        QTest::newRow("centre") << "Color"
                                << "Text4";
    }
    void textBoxTellsItsTextWhereItIsDrawn() {
        QFETCH(QString, window);
        QFETCH(QString, box);
        Form* form = open(window);
        auto* edit = form->findChild<QLineEdit*>(box);
        QVERIFY(edit);
        edit->setText(QStringLiteral("100"));
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(edit)->textInterface();
        QVERIFY(text);
        const QRect shown(edit->mapToGlobal(QPoint(0, 0)), edit->size());
        int previousRight = shown.left();
        for (int offset = 0; offset <= 3; ++offset) {
            int start = -1;
            int end = -1;
            text->attributes(offset, &start, &end);
            QCOMPARE(text->text(start, end), offset < 3 ? QStringLiteral("100") : QString());
            const QRect character = text->characterRect(offset);
            QVERIFY2(shown.contains(character) && character.left() >= previousRight,
                     qPrintable(QStringLiteral("%1 in %2").arg(offset).arg(box)));
            previousRight = character.right();
            QCOMPARE(text->offsetAtPoint(QPoint(character.left() + 1, character.center().y())),
                     offset);
        }
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
