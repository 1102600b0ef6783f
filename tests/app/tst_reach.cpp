#include "files/filetree.h"
#include "platform/form.h"
#include "shell/catalogue.h"
#include "support/testsupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>

using namespace vorn;

namespace {

using Check = std::function<void()>;
// Brings a freshly opened window to a state, through real input, then runs the check there.
using Step = std::function<void(Form*, const Check&)>;

QWidget* control(Form* form, const char* name) {
    return form->findChild<QWidget*>(QString::fromUtf8(name));
}

// A real click at the centre of a control, delivered to its window as the window system does.
void click(Form* form, const char* name) {
    QWidget* w = control(form, name);
    QVERIFY2(w, name);
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, w->mapTo(form, w->rect().center()));
}

void type(Form* form, const QString& text) {
    for (QChar c : text)
        QTest::keyClick(form->windowHandle(), c.toLatin1());
}

Step after(std::function<void(Form*)> actions) {
    return [actions = std::move(actions)](Form* form, const Check& check) {
        actions(form);
        if (!QTest::currentTestFailed())
            check();
    };
}

Step clicks(QList<const char*> names, int times = 1) {
    return after([names, times](Form* form) {
        for (int i = 0; i < times; ++i) {
            for (const char* name : names)
                click(form, name);
        }
    });
}

// Runs the check while the colour window's icon is on its way, from inside the animation.
void duringAnimation(Form* form, const Check& check) {
    QWidget* icon = control(form, "Image1");
    const QPoint start = icon->pos();
    bool checked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        if (checked || icon->pos() == start)
            return;
        checked = true;
        poll.stop();
        check();
    });
    poll.start(5);
    click(form, "Image1");
    QVERIFY(checked);
}

// Highlights the sub-folder by a click and opens it with Enter, the keyboard's way in.
void openFolder(Form* form, const QString& name) {
    auto* list = qobject_cast<QAbstractItemView*>(control(form, "Dir1"));
    QVERIFY(list);
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                       name, 1, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    const QPoint centre = list->visualRect(found.first()).center();
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {},
                      list->viewport()->mapTo(form, centre));
    QTest::keyClick(form->windowHandle(), Qt::Key_Return);
    QCOMPARE(QFileInfo(list->property("Path").toString()).fileName(), name);
}

// The controls of the window that take input and can be seen and used now.
QList<QWidget*> inputControls(Form* form) {
    QList<QWidget*> found;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (name.isEmpty() || name == QLatin1String("client") ||
            name.startsWith(QLatin1String("qt_")))
            continue;
        if (w->window() == form && w->isVisible() && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus))
            found.append(w);
    }
    return found;
}

QString describe(const QWidget* w) {
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(w->metaObject()->className()),
                                        w->objectName());
}

// The part of `w` that the pointer can reach, in window coordinates: its rectangle, clipped
// by its parents, less whatever is stacked in front of it. Labels of the window's own may
// lie over part of a control; anything else in front of it is listed in `blockers`.
QRegion reachablePart(QWidget* w, Form* form, QStringList& blockers) {
    QRegion part(QRect(w->mapTo(form, QPoint(0, 0)), w->size()));
    for (QWidget* child = w; child != form; child = child->parentWidget()) {
        QWidget* parent = child->parentWidget();
        part &= QRect(parent->mapTo(form, QPoint(0, 0)), parent->size());
        const QObjectList& siblings = parent->children();
        for (qsizetype i = siblings.indexOf(child) + 1; i < siblings.size(); ++i) {
            auto* above = qobject_cast<QWidget*>(siblings.at(i));
            if (!above || above->isWindow() || !above->isVisible() ||
                above->testAttribute(Qt::WA_TransparentForMouseEvents))
                continue;
            QRegion cover = above->mask().isEmpty() ? QRegion(above->rect()) : above->mask();
            cover.translate(above->mapTo(form, QPoint(0, 0)));
            if (!part.intersects(cover))
                continue;
            const bool label = qobject_cast<QLabel*>(above) && !above->objectName().isEmpty() &&
                               !(above->focusPolicy() & Qt::TabFocus);
            if (!label)
                blockers.append(describe(above));
            part -= cover;
        }
    }
    return part;
}

// The centre of the control when nothing lies over it, else the centre of the largest piece
// of it left uncovered.
QPoint clickPoint(const QRegion& part, QPoint centre) {
    if (part.contains(centre))
        return centre;
    QRect largest;
    for (const QRect& r : part) {
        if (qint64(r.width()) * r.height() > qint64(largest.width()) * largest.height())
            largest = r;
    }
    return largest.center();
}

// Records the widget that receives a press from the window system, and swallows the press
// and its release so that no control acts while the window is being probed.
class PressProbe : public QObject {
public:
    explicit PressProbe(Form* form)
        : m_form(form) {
        qApp->installEventFilter(this);
    }
    ~PressProbe() override { qApp->removeEventFilter(this); }
    QPointer<QWidget> receiver;

protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        const auto type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
            type != QEvent::MouseButtonDblClick)
            return false;
        auto* w = qobject_cast<QWidget*>(target);
        if (!w || w->window() != m_form)
            return false;
        if (type == QEvent::MouseButtonPress && !receiver)
            receiver = w;
        return true;
    }

private:
    Form* m_form;
};

bool isPartOf(const QWidget* w, QWidget* control) {
    return w && (w == control || control->isAncestorOf(w) || control->focusProxy() == w);
}

void checkReach(Form* form) {
    const QList<QWidget*> controls = inputControls(form);
    QWindow* window = form->windowHandle();
    for (QWidget* w : controls) {
        const QString name = w->objectName();
        QStringList blockers;
        const QRegion part = reachablePart(w, form, blockers);
        QVERIFY2(blockers.isEmpty(),
                 qPrintable(name + QStringLiteral(" lies under ") + blockers.join(", ")));
        QVERIFY2(!part.isEmpty(), qPrintable(name + QStringLiteral(" is covered")));
        const QPoint at = clickPoint(part, w->mapTo(form, w->rect().center()));
        QTest::mouseMove(window, at);
        if (!w->isVisible())
            continue; // it vanishes under the pointer: no click can reach it, by design
        PressProbe probe(form);
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
        QVERIFY2(isPartOf(probe.receiver, w),
                 qPrintable(name + QStringLiteral(" lost the click to ") +
                            (probe.receiver ? describe(probe.receiver) : QStringLiteral("none"))));
        if (w->focusPolicy() & Qt::ClickFocus)
            QVERIFY2(isPartOf(form->focusWidget(), w), qPrintable(name + " took no focus"));
    }

    // Tab goes round every control that can take the focus, and each shows that it has it:
    // it looks different once the focus has moved on.
    int stops = 1;
    for (QWidget* w : form->findChildren<QWidget*>())
        stops += w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) ? 1 : 0;
    QList<QWidget*> reached;
    QImage focusedLook;
    for (int i = 0; i < stops; ++i) {
        QTest::keyClick(window, Qt::Key_Tab);
        QWidget* focused = form->focusWidget();
        if (!focused)
            break; // a window with nothing to focus
        if (!reached.isEmpty() && reached.last() != focused && reached.last()->isVisible())
            QVERIFY2(reached.last()->grab().toImage() != focusedLook,
                     qPrintable(describe(reached.last()) + QStringLiteral(" hides its focus")));
        reached.append(focused);
        focusedLook = focused->grab().toImage();
    }
    for (QWidget* w : controls) {
        if (!w->isVisible())
            continue;
        const bool found = std::any_of(reached.cbegin(), reached.cend(),
                                       [w](QWidget* f) { return isPartOf(f, w); });
        QVERIFY2(found, qPrintable(w->objectName() + QStringLiteral(" is out of the Tab chain")));
    }
}

// The control a window opens with the focus on shows that it has it (or, not `shows`, looks as
// without it): it looks different once Tab has moved the focus on. A window that opens with the
// focus on no control is left alone.
void openingFocusShows(Form* form, bool shows = true) {
    QWidget* focused = form->focusWidget();
    if (!focused || focused == form->client())
        return;
    const QImage look = focused->grab().toImage();
    QTest::keyClick(form->windowHandle(), Qt::Key_Tab);
    QVERIFY(form->focusWidget() != focused);
    QVERIFY2(
        (focused->grab().toImage() != look) == shows,
        qPrintable(describe(focused) + (shows ? QStringLiteral(" hides its focus as it opens")
                                              : QStringLiteral(" shows its focus as it opens"))));
}

// The person's last press before a window opens: a key, as its shortcut is, or a click.
void pressBeforeOpening(bool key) {
    QPushButton elsewhere;
    if (key)
        QTest::keyClick(&elsewhere, Qt::Key_Shift);
    else
        QTest::mouseClick(&elsewhere, Qt::LeftButton);
}

} // namespace

// Presses keys in the window as the window system delivers them: a key sequence ("Tab",
// "Ctrl+A"), or text after a quote mark. "Tab>Name" presses Tab until the control Name has the
// focus; "Return held" holds the key down while the keyboard repeats it.
void pressKeys(Form* form, const QStringList& keys) {
    QWindow* window = form->windowHandle();
    for (const QString& key : keys) {
        if (key.startsWith(QLatin1Char('"'))) {
            type(form, key.mid(1));
        } else if (key.startsWith(QLatin1String("Tab>"))) {
            const QString target = key.mid(4);
            for (int i = 0; i < 30 && form->focusWidget()->objectName() != target; ++i)
                QTest::keyClick(window, Qt::Key_Tab);
            QCOMPARE(form->focusWidget()->objectName(), target);
        } else if (key.endsWith(QLatin1String(" held"))) {
            test::holdKey(form, QKeySequence(key.chopped(5))[0].key());
        } else {
            const QKeyCombination combination = QKeySequence(key)[0];
            QTest::keyClick(window, combination.key(), combination.keyboardModifiers());
        }
    }
}

// Every window, in every state a user reaches, through the pointer and the keyboard as the
// window system delivers them: each control that takes input is the one a click at it
// reaches, and Tab reaches it.
class TestReach : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_startFolder;

private Q_SLOTS:
    void initTestCase() {
        test::initRuntime(*qApp);
        // The file manager opens on the current folder: give it one with folders and files.
        QVERIFY(m_dir.isValid());
        QVERIFY(test::makeTree(m_dir.path(), {"Documents/lettre.txt", "Documents/notes.txt",
                                              "Documents/Images/photo.jpg", "Documents/Musique/"}));
        m_startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path() + QStringLiteral("/Documents")));
    }
    void cleanupTestCase() { QDir::setCurrent(m_startFolder); }
    void cleanup() { test::destroyForms(); }

    void everyControlTakesPointerAndTab_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<Step>("step");
        const Step opened = [](Form* form, const Check& check) {
            openingFocusShows(form);
            if (!QTest::currentTestFailed())
                check();
        };
        for (const WindowEntry& entry : windowCatalogue())
            QTest::newRow(entry.name) << QString::fromUtf8(entry.name) << opened;
        QTest::newRow("Main tall") << "Main" << after([](Form* form) {
            click(form, "Text1");
            type(form, QStringLiteral("-1225"));
            click(form, "Command1");
        });
        QTest::newRow("VornEuro result") << "VornEuro" << clicks({"un", "zero", "zero", "euros"});
        for (int place = 1; place < 4; ++place)
            QTest::addRow("Tétris refusal place %d", place) << "Tétris" << clicks({"Refus"}, place);
        QTest::newRow("Color animating") << "Color" << Step(duringAnimation);
        QTest::newRow("Color animated") << "Color" << clicks({"Image1"});
        QTest::newRow("Recherche folder")
            << "Recherche" << after([](Form* form) { openFolder(form, QStringLiteral("Images")); });
        QTest::newRow("Recherche filter") << "Recherche" << after([](Form* form) {
            click(form, "Text1");
            type(form, QStringLiteral("txt"));
            click(form, "Command2");
        });
        QTest::newRow("MARIAGE drawn") << "MARIAGE" << clicks({"Option3", "Command1"});
    }
    // Each window's main job with the keyboard alone, from the focus the window opens with.
    void everyJobByKeys_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("result");
        QTest::newRow("year") << "Main" << QStringList{"\"-1225", "Return"} << "Text9"
                              << "Text" << QVariant(QStringLiteral("Gédéon"));
        // Shift+F10 opens the year's context menu; Up goes to its last entry, "Tout
        // sélectionner", and the year typed next replaces the one there.
        QTest::newRow("year, context menu by keys")
            << "Main" << QStringList{"\"99", "Shift+F10", "Up", "Return", "\"-1225", "Return"}
            << "Text9"
            << "Text" << QVariant(QStringLiteral("Gédéon"));
        QTest::newRow("francs") << "VornEuro" << QStringList{"\"100", "Return"} << "ecran"
                                << "Text" << QVariant(QStringLiteral("15,245"));
        QTest::newRow("francs, Enter held")
            << "VornEuro" << QStringList{"\"100", "Return held"} << "ecran"
            << "Text" << QVariant(QStringLiteral("15,245"));
        QTest::newRow("colour") << "Color" << QStringList{"Tab>Text2", "Ctrl+A", "\"0", "Tab"}
                                << "Text4"
                                << "Text" << QVariant(QStringLiteral("#00FFFF"));
        QTest::newRow("oldest colour recalled, Space held")
            << "Color" << QStringList{"Tab>Text1", "Ctrl+A", "\"0", "Tab>Label8", "Space held"}
            << "Text4"
            << "Text" << QVariant(QStringLiteral("#FFFFFF"));
        QTest::newRow("folder") << "Recherche" << QStringList{"Down", "Return"} << "Dir1"
                                << "ListCount" << QVariant(0); // Images holds no folder
        QTest::newRow("file") << "Recherche" << QStringList{"Down", "Return", "Tab>File1", "Down"}
                              << "Text3"
                              << "Text" << QVariant(QStringLiteral("0"));
        QTest::newRow("draw") << "MARIAGE"
                              << QStringList{"Tab>Option1", "Down", "Down", "Tab>Command1", "Space"}
                              << "Text1"
                              << "Text" << QVariant(QStringLiteral("Alice|Bruno"));
        QTest::newRow("refusal") << "Tétris" << QStringList{"Tab>Refus", "Space"} << "Refus"
                                 << "Left" << QVariant(2910.0f);
        QTest::newRow("refusal, Space held")
            << "Tétris" << QStringList{"Tab>Refus", "Space held"} << "Refus"
            << "Left" << QVariant(2910.0f);
    }
    void everyJobByKeys() {
        QFETCH(QString, window);
        QFETCH(QStringList, keys);
        QFETCH(QString, name);
        QFETCH(QString, property);
        QFETCH(QVariant, result);
        test::ScriptedDialogs dialogs;
        dialogs.queueInput(QStringLiteral("Alice"));
        dialogs.queueInput(QStringLiteral("Bruno"));
        QPointer<Form> form = findWindow(window)->open();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QPointer<QWidget> target = control(form, name.toUtf8().constData());
        pressKeys(form, keys);
        QVERIFY(target);
        const QVariant value = target->property(property.toUtf8().constData());
        if (result.typeId() == QMetaType::QString)
            QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(result.toString()))
                         .match(value.toString())
                         .hasMatch(),
                     qPrintable(value.toString()));
        else
            QCOMPARE(value, result);
        QVERIFY(dialogs.errors().isEmpty());
    }

    // Opened by a click, the lottery keeps the style's look; opened by a key, the chore it
    // opens on shows at once that it has the focus.
    void openingFocusShowsAfterAKeyOnly() {
        for (const bool key : {false, true}) {
            test::ScriptedDialogs dialogs;
            dialogs.queueInput(QStringLiteral("Alice"));
            dialogs.queueInput(QStringLiteral("Bruno"));
            pressBeforeOpening(key);
            QPointer<Form> form = findWindow(QStringLiteral("MARIAGE"))->open();
            QVERIFY(QTest::qWaitForWindowActive(form));
            QVERIFY(form->focusWidget());
            openingFocusShows(form, key);
            test::destroyForms();
        }
    }

    void everyControlTakesPointerAndTab() {
        QFETCH(QString, window);
        QFETCH(Step, step);
        test::ScriptedDialogs dialogs; // the lottery's two names, the prank's messages
        dialogs.queueInput(QStringLiteral("Alice"));
        dialogs.queueInput(QStringLiteral("Bruno"));
        pressBeforeOpening(true); // opened by its shortcut
        QPointer<Form> form = findWindow(window)->open();
        QVERIFY(QTest::qWaitForWindowActive(form));
        step(form, [form] { checkReach(form); });
        QVERIFY(form);
        QVERIFY(dialogs.errors().isEmpty());
    }
};

QTEST_MAIN(TestReach)
#include "tst_reach.moc"
