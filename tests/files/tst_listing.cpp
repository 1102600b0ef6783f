#include "filetree.h"

#include "files/listing.h"
#include "files/names.h"
#include "files/volumes.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace vorn;
using namespace Qt::StringLiterals;
using vorn::test::errorOf;

class TestListing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wildcard_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("star takes all") << "*"
                                        << "anything at all" << true;
        QTest::newRow("star takes the empty name") << "*"
                                                   << "" << true;
        QTest::newRow("stars run together") << "***"
                                            << "x" << true;
        QTest::newRow("ending, other case") << "*.txt"
                                            << "Lettre.TXT" << true;
        QTest::newRow("ending not last") << "*.txt"
                                         << "a.txt.bak" << false;
        QTest::newRow("ending without its point") << "*txt"
                                                  << "rapporttxt" << true;
        QTest::newRow("exact name, other case") << "Notes.md"
                                                << "NOTES.MD" << true;
        QTest::newRow("exact name is whole") << "notes"
                                             << "notes2" << false;
        QTest::newRow("question is one character") << "?.c"
                                                   << "a.c" << true;
        QTest::newRow("question is not two") << "?.c"
                                             << "ab.c" << false;
        QTest::newRow("question is not none") << "a?"
                                              << "a" << false;
        QTest::newRow("stars between") << "a*b*c"
                                       << "aXXbYc" << true;
        QTest::newRow("stars between, wrong end") << "a*b*c"
                                                  << "abcb" << false;
        QTest::newRow("star must go back") << "*aab"
                                           << "aaab" << true;
        QTest::newRow("star then question") << "*_1?4.jpg"
                                            << "Photo_104.JPG" << true;
        QTest::newRow("star then question, one short") << "*_1?4.jpg"
                                                       << "Photo_14.JPG" << false;
        QTest::newRow("semicolon is a character") << "*a;b"
                                                  << "xa;b" << true;
        QTest::newRow("semicolon does not split") << "*a;b"
                                                  << "b" << false;
        QTest::newRow("brackets are characters") << "[ab]*"
                                                 << "[ab]c" << true;
        QTest::newRow("brackets are no class") << "[ab]*"
                                               << "ac" << false;
        QTest::newRow("star point star needs a point") << "*.*"
                                                       << "LISEZMOI" << false;
        QTest::newRow("accented capital") << "é*"
                                          << "École" << true;
        QTest::newRow("accent is not its letter") << "*e"
                                                  << "café" << false;
        QTest::newRow("name with its accents apart") << "*ête.txt" << u"be\u0302te.txt"_s << true;
        QTest::newRow("pattern with its accents apart") << u"?e\u0301*"_s << "Lécher" << true;
        QTest::newRow("one letter, its accent apart")
            << u"?te\u0301.txt"_s << u"E\u0301te\u0301.txt"_s << true;
        QTest::newRow("empty pattern, empty name") << ""
                                                   << "" << true;
        QTest::newRow("empty pattern, a name") << ""
                                               << "a" << false;
        QTest::newRow("question takes a whole emoji") << "?.png"
                                                      << "😀.png" << true;
        QTest::newRow("two questions, one emoji") << "??.png"
                                                  << "😀.png" << false;
        QTest::newRow("ending with an emoji") << "*😀"
                                              << "x😀" << true;
    }
    void wildcard() {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(WildcardPattern(pattern).matches(name), matches);
    }

    void sortNames_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("case ignored") << QStringList{"b", "C", "a"} << QStringList{"a", "b", "C"};
        QTest::newRow("equal but for case: capital first")
            << QStringList{"a", "A"} << QStringList{"A", "a"};
        QTest::newRow("accents with their letter") << QStringList{"zèbre", "école", "Eva", "ecole"}
                                                   << QStringList{"ecole", "école", "Eva", "zèbre"};
        QTest::newRow("cedilla and diaeresis") << QStringList{"noël", "nom", "garçon", "gare"}
                                               << QStringList{"garçon", "gare", "noël", "nom"};
        QTest::newRow("digits as text")
            << QStringList{"10.txt", "9.txt", "1.txt"} << QStringList{"1.txt", "10.txt", "9.txt"};
        QTest::newRow("ligatures and letters without accents with their letters")
            << QStringList{"Zoé",  "œuvre",  "ours",   "æther", "afin",
                           "ınce", "jardin", "straße", "strat"}
            << QStringList{"æther", "afin",   "ınce",  "jardin", "œuvre",
                           "ours",  "straße", "strat", "Zoé"};
        QTest::newRow("a ligature beside another script")
            << QStringList{"cuir", "cœur Ω", "coude"} << QStringList{"cœur Ω", "coude", "cuir"};
        QTest::newRow("other scripts after Latin")
            << QStringList{"Ωmega", "omega", "Zulu"} << QStringList{"omega", "Zulu", "Ωmega"};
        QTest::newRow("shorter first") << QStringList{"ab", "a"} << QStringList{"a", "ab"};
        QTest::newRow("empty list") << QStringList{} << QStringList{};
    }
    void sortNames() {
        QFETCH(QStringList, names);
        QFETCH(QStringList, sorted);
        vorn::sortNames(names);
        QCOMPARE(names, sorted);
    }

    void absoluteFolder_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("relative") << "/a/b"
                                  << "c"
                                  << "/a/b/c";
        QTest::newRow("parent") << "/a/b"
                                << ".."
                                << "/a";
        QTest::newRow("from the root") << "/"
                                       << "x"
                                       << "/x";
        QTest::newRow("absolute, doubled separators") << "/a"
                                                      << "/x//y/"
                                                      << "/x/y";
        QTest::newRow("the root") << "/a"
                                  << "/"
                                  << "/";
        QTest::newRow("above the root") << "/"
                                        << "../.."
                                        << "/";
    }
    void absoluteFolder() {
        QFETCH(QString, base);
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(vorn::absoluteFolder(base, path), folder);
    }

    void listFolder_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QStringList>("names");
        const int files = int(EntryKind::Files);
        const int folders = int(EntryKind::Folders);
        QTest::newRow("files, links to files among them")
            << "" << files << "*" << false << QStringList{"b.TXT", "c.doc", "Été.txt", "lien.txt"};
        QTest::newRow("files matching")
            << "" << files << "*.txt" << false << QStringList{"b.TXT", "Été.txt", "lien.txt"};
        QTest::newRow("hidden files too")
            << "" << files << "*" << true
            << QStringList{".cache", "b.TXT", "c.doc", "Été.txt", "lien.txt"};
        QTest::newRow("folders, links to folders among them")
            << "" << folders << "*" << false
            << QStringList{"espaces", "noms", "passerelle", "raccourci", "sous-dossier"};
        QTest::newRow("hidden folders too")
            << "" << folders << "*" << true
            << QStringList{".config", "espaces", "noms", "passerelle", "raccourci", "sous-dossier"};
        // Every name is listed, nothing in it hidden, and no two look the same.
        QTest::newRow("names that hide something")
            << "noms" << files << "*" << false
            << QStringList{u"a⏎b.txt"_s,
                           u"cœur.txt (codage non reconnu)"_s,
                           u"e\u0301le\u0300ve.txt (forme décomposée)"_s,
                           u"élève.txt"_s,
                           u"mélange.txt (codage non reconnu)"_s,
                           u"note.txt"_s,
                           u"note.txt␣"_s,
                           u"note⟨U+FE0E⟩.txt"_s,
                           u"zéro⟨U+200B⟩largeur"_s,
                           u"⇥onglet"_s,
                           u"⟨U+3164⟩vide.txt"_s};
        QTest::newRow("the filter reads an undecodable name as shown")
            << "noms" << files << "*ge.txt" << false
            << QStringList{u"mélange.txt (codage non reconnu)"_s};
        QTest::newRow("a space alike, told apart")
            << "espaces" << files << "*" << false
            << QStringList{u"a b"_s, u"a\u00a0b (espace spéciale)"_s};
        // A share whose server is silent is shown as the folder it is, without a look at it.
        QTest::newRow("the desktop's gateway above a silent share")
            << "passerelle" << folders << "*" << false << QStringList{"muette", "parle"};
        QTest::newRow("no files among the gateway's shares")
            << "passerelle" << files << "*" << false << QStringList{};
        // Asked together, the answering shares are looked at as they are, a file among them.
        QTest::newRow("the gateway's hidden shares too")
            << "passerelle" << folders << "*" << true << QStringList{".sourde", "muette", "parle"};
    }
    void listFolder() {
        QFETCH(QString, folder);
        QFETCH(int, kind);
        QFETCH(QString, pattern);
        QFETCH(bool, hidden);
        QFETCH(QStringList, names);
        QTemporaryDir dir;
        const QString root = dir.path();
        QVERIFY(test::makeTree(root, {"b.TXT", "c.doc", "Été.txt", ".cache", "sous-dossier/",
                                      ".config/", "sous-dossier/profond.txt", "noms/",
                                      u"noms/note.txt"_s, u"noms/note.txt "_s, u"noms/a\nb.txt"_s,
                                      u"noms/\tonglet"_s, u"noms/élève.txt"_s,
                                      u"noms/e\u0301le\u0300ve.txt"_s, u"noms/zéro\u200blargeur"_s,
                                      u"noms/note\ufe0e.txt"_s, u"noms/\u3164vide.txt"_s,
                                      u"espaces/a b"_s, u"espaces/a\u00a0b"_s}));
        QVERIFY(QFile::link(root + "/c.doc", root + "/lien.txt"));
        QVERIFY(QFile::link(root + "/sous-dossier", root + "/raccourci"));
        QVERIFY(QFile::link(root + "/nulle-part", root + "/lien-mort"));
        // A gateway's shares come without a type, as links do: the silent one would have the
        // look fail, so only the question saves it.
        const QString gateway = root + "/passerelle";
        QVERIFY(QDir(root).mkdir("passerelle"));
        QVERIFY(QFile::link(root + "/sous-dossier", gateway + "/parle"));
        QVERIFY(QFile::link(root + "/nulle-part", gateway + "/muette"));
        QVERIFY(QFile::link(root + "/nulle-part", gateway + "/.sourde"));
        QVERIFY(QFile::link(root + "/c.doc", gateway + "/.fichier"));
        setVolumeSource([&] { return QList<Volume>{{"/", "ext4"}, {gateway, "fuse.gvfsd-fuse"}}; });
        // The shares are asked all at once: each round of questions would hold the listing for
        // as long as a silent share takes to fail to answer.
        int rounds = 0;
        setVolumeQuestion([&](const QStringList& shares) {
            ++rounds;
            QList<bool> answers;
            for (const QString& share : shares)
                answers.append(!share.endsWith("/muette") && !share.endsWith("/.sourde"));
            return answers;
        });
        QCOMPARE(::mkfifo(QFile::encodeName(root + "/tube").constData(), 0600), 0);
        // Names in Latin-1 and Windows-1252, which are not valid UTF-8.
        for (const char* raw : {"/noms/m\xe9lange.txt", "/noms/c\x9cur.txt"})
            QCOMPARE(::close(::creat((QFile::encodeName(root) + raw).constData(), 0644)), 0);
        const QStringList listed = vorn::listFolder(root + '/' + folder, EntryKind(kind),
                                                    WildcardPattern(pattern), hidden);
        // Each entry's exact name gives back its bytes, so the folder empties by them.
        for (const FolderEntry& entry : readFolder(root + "/noms", EntryKind::Files))
            ::unlink(bytesFromName(root + "/noms/" + entry.name).constData());
        setVolumeSource({});
        setVolumeQuestion({});
        QCOMPARE(test::onDisk(root + "/noms"), QStringList{});
        QCOMPARE(listed, names);
        QCOMPARE(rounds, folder == "passerelle" ? 1 : 0);
    }

    // While a share of the gateway does not answer, its folder is read once for both lists and
    // not again until the share answers: the question waiting on the share may hold the folder in
    // the kernel, and reading it again would then wait for the share.
    void gatewayReadOnceWhileAShareIsSilent_data() {
        QTest::addColumn<int>("kind");     // of the listing that follows the folder list's
        QTest::addColumn<bool>("answers"); // the silent share answers before it
        QTest::addColumn<QStringList>("names");
        const int files = int(EntryKind::Files);
        const int folders = int(EntryKind::Folders);
        QTest::newRow("the file list") << files << false << QStringList{"lisezmoi.txt"};
        QTest::newRow("the folder list again")
            << folders << false << QStringList{"muette", "parle"};
        QTest::newRow("the file list once the share answers")
            << files << true << QStringList{"lisezmoi.txt", "nouveau.txt"};
    }
    void gatewayReadOnceWhileAShareIsSilent() {
        QFETCH(int, kind);
        QFETCH(bool, answers);
        QFETCH(QStringList, names);
        QTemporaryDir dir;
        const QString gateway = dir.path() + "/passerelle";
        QVERIFY(test::makeTree(dir.path(), {"passerelle/lisezmoi.txt", "dossier/"}));
        QVERIFY(QFile::link(dir.path() + "/dossier", gateway + "/parle"));
        QVERIFY(QFile::link(dir.path() + "/nulle-part", gateway + "/muette"));
        setVolumeSource([&] { return QList<Volume>{{"/", "ext4"}, {gateway, "fuse.gvfsd-fuse"}}; });
        bool silent = true;
        setVolumeQuestion([&](const QStringList& shares) {
            QList<bool> answered;
            for (const QString& share : shares)
                answered.append(!silent || !share.endsWith("/muette"));
            return answered;
        });
        QCOMPARE(vorn::listFolder(gateway, EntryKind::Folders), (QStringList{"muette", "parle"}));
        // What the gateway shows meanwhile.
        QVERIFY(test::makeTree(dir.path(), {"passerelle/nouveau.txt", "passerelle/nouvelle/"}));
        silent = !answers;
        const QStringList listed = vorn::listFolder(gateway, EntryKind(kind));
        setVolumeSource({});
        setVolumeQuestion({});
        QCOMPARE(listed, names);
    }

    void listFolderErrors_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("error");
        QTest::newRow("missing") << "manquant" << 76;
        QTest::newRow("a file") << "fichier.txt" << 76;
        QTest::newRow("empty path") << "" << 76;
    }
    void listFolderErrors() {
        QFETCH(QString, path);
        QFETCH(int, error);
        QTemporaryDir dir;
        QVERIFY(test::makeFile(dir.filePath("fichier.txt")));
        const QString full = path.isEmpty() ? path : dir.filePath(path);
        QCOMPARE(errorOf([&] { vorn::listFolder(full, EntryKind::Files); }), error);
    }

    void listFolderRefused() {
        if (!test::permissionsApply())
            QSKIP("the super-user reads every folder");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("ferme"));
        QVERIFY(QFile::setPermissions(dir.filePath("ferme"), QFileDevice::WriteOwner));
        QCOMPARE(errorOf([&] { vorn::listFolder(dir.filePath("ferme"), EntryKind::Files); }), 70);
        QFile::setPermissions(dir.filePath("ferme"), QFileDevice::ReadOwner |
                                                         QFileDevice::WriteOwner |
                                                         QFileDevice::ExeOwner);
    }

    void userVolumes_data() {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("user");
        QTest::newRow("system disk") << "/" << QByteArray("ext4") << true;
        QTest::newRow("usb stick under /run/media")
            << "/run/media/anne/CLE" << QByteArray("vfat") << true;
        QTest::newRow("cd-rom") << "/media/cdrom" << QByteArray("iso9660") << true;
        QTest::newRow("container root") << "/" << QByteArray("overlay") << true;
        QTest::newRow("kernel processes") << "/proc" << QByteArray("proc") << false;
        QTest::newRow("control groups") << "/sys/fs/cgroup/cpu" << QByteArray("cgroup") << false;
        QTest::newRow("anything under /dev") << "/dev/hugepages" << QByteArray("ext4") << false;
        QTest::newRow("memory under /run") << "/run/user/1000" << QByteArray("tmpfs") << false;
        QTest::newRow("memory anywhere") << "/mnt/ram" << QByteArray("tmpfs") << false;
        QTest::newRow("automount placeholder") << "/net" << QByteArray("autofs") << false;
        QTest::newRow("snap package image") << "/snap/core/123" << QByteArray("squashfs") << false;
        QTest::newRow("other squashfs") << "/media/live" << QByteArray("squashfs") << true;
        QTest::newRow("a folder named like a system one")
            << "/developpement" << QByteArray("ext4") << true;
    }
    void userVolumes() {
        QFETCH(QString, root);
        QFETCH(QByteArray, type);
        QFETCH(bool, user);
        QCOMPARE(isUserVolume({root, type, false, true}), user);
    }

    void userVolumesListed() {
        setVolumeSource([] {
            return QList<Volume>{
                {"/media/cle", "vfat", false, true}, {"/proc", "proc", false, true},
                {"/", "ext4", false, true},          {"/media/absent", "vfat", false, false},
                {"/home", "ext4", false, true},      {"/home", "nfs", true, true}};
        });
        const QList<Volume> volumes = vorn::userVolumes();
        setVolumeSource({});
        QStringList roots;
        for (const Volume& v : volumes)
            roots.append(v.root);
        // Sorted, ready ones only, and the volume mounted last over /home is the one shown.
        QCOMPARE(roots, (QStringList{"/", "/home", "/media/cle"}));
        QCOMPARE(volumes.at(1).type, QByteArray("nfs"));
    }

    void mountTable_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QByteArray>("type");
        QTest::newRow("system disk")
            << QByteArray("26 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw") << "/"
            << QByteArray("ext4");
        QTest::newRow("no tags") << QByteArray("30 26 0:40 / /media/cle rw - vfat /dev/sdb1 rw")
                                 << "/media/cle" << QByteArray("vfat");
        QTest::newRow("several tags")
            << QByteArray("31 26 0:41 / /mnt/a rw shared:5 master:2 - nfs4 srv:/x rw") << "/mnt/a"
            << QByteArray("nfs4");
        QTest::newRow("space, tab, line break and backslash in the mount point")
            << QByteArray(R"(32 26 0:42 / /media/Ma\040cl\011\012\134 rw - vfat /dev/sdc rw)")
            << "/media/Ma cl\t\n\\" << QByteArray("vfat");
        QTest::newRow("a backslash not followed by three octal digits")
            << QByteArray(R"(33 26 0:43 / /mnt/a\08 rw - ext4 /dev/sdd rw)") << R"(/mnt/a\08)"
            << QByteArray("ext4");
        QTest::newRow("a mount point that is not UTF-8")
            << QByteArray("34 26 0:44 / /media/\xe9t\xe9 rw - vfat /dev/sde rw")
            << nameFromBytes("/media/\xe9t\xe9") << QByteArray("vfat");
        QTest::newRow("no separator")
            << QByteArray("35 26 0:45 / /mnt/b rw") << QString() << QByteArray();
    }
    void mountTable() {
        QFETCH(QByteArray, line);
        QFETCH(QString, root);
        QFETCH(QByteArray, type);
        // With a line that is not a mount before and after it.
        const QList<Volume> volumes = volumesOfMountTable("\n" + line + "\nbroken\n");
        QCOMPARE(volumes.size(), root.isEmpty() ? 0 : 1);
        if (!root.isEmpty()) {
            QCOMPARE(volumes.first().root, root);
            QCOMPARE(volumes.first().type, type);
        }
    }

    void rootHolding_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("root");
        QTest::newRow("the root itself") << "/"
                                         << "/";
        QTest::newRow("deepest volume") << "/home/anne/doc"
                                        << "/home";
        QTest::newRow("volume root") << "/home"
                                     << "/home";
        QTest::newRow("same beginning is not inside") << "/homework/x"
                                                      << "/";
        QTest::newRow("relative path") << "home"
                                       << "";
        QTest::newRow("a share of the desktop's gateway")
            << "/run/user/1000/gvfs/sftp:host=h,user=u/home/u"
            << "/run/user/1000/gvfs/sftp:host=h,user=u";
        QTest::newRow("the desktop's gateway above its shares") << "/run/user/1000/gvfs"
                                                                << "/run/user/1000/gvfs";
        QTest::newRow("a share of KDE's gateway") << "/run/user/1000/kio-fuse-Ab12/smb/nas/docs/x"
                                                  << "/run/user/1000/kio-fuse-Ab12/smb/nas";
    }
    void rootHolding() {
        QFETCH(QString, path);
        QFETCH(QString, root);
        const QList<Volume> volumes{{"/", "ext4"},
                                    {"/home", "ext4"},
                                    {"/home/anne/x", "ext4"},
                                    {"/run/user/1000/gvfs", "fuse.gvfsd-fuse"},
                                    {"/run/user/1000/kio-fuse-Ab12", "fuse.kio-fuse"}};
        QCOMPARE(vorn::rootHolding(path, volumes), root);
    }
};

QTEST_GUILESS_MAIN(TestListing)
#include "tst_listing.moc"
