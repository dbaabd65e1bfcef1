#include "backup/u_archiv.h"

#include "backup/archive.h"
#include "data/store.h"
#include "platform/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// A path field with a button beside it that opens its dialog; F4 in the field opens it too.
QLineEdit* pathField(const char* name, QGridLayout* grid, int row, const QString& label, QWidget* page,
                     const std::function<void()>& browse)
{
    auto* caption = new QLabel(label, page);
    auto* field = new QLineEdit(page);
    field->setObjectName(QLatin1String(name));
    caption->setBuddy(field);
    auto* button = new QPushButton(QStringLiteral("..."), page);
    button->setObjectName(QLatin1String(name) + QStringLiteral("_button"));
    button->setAccessibleName(QStringLiteral("Browse"));
    button->setToolTip(QStringLiteral("Browse (F4)"));
    button->setAutoDefault(false);
    button->setFixedWidth(32);
    QObject::connect(button, &QPushButton::clicked, page, browse);
    auto* f4 = new QShortcut(QKeySequence(Qt::Key_F4), field, nullptr, nullptr, Qt::WidgetShortcut);
    QObject::connect(f4, &QShortcut::activated, page, browse);
    grid->addWidget(caption, row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(button, row, 2);
    return field;
}

QPushButton* pageButton(const char* name, const char* caption, QWidget* page)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), page);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

Tfrm_archiv::Tfrm_archiv(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_archiv"), QStringLiteral("Save and Restore Database"), parent)
{
    setHelpTopic(1650);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    auto* layout = new QVBoxLayout(body());
    lbl_head = heading(QStringLiteral("Save and Restore Database"));
    layout->addWidget(lbl_head);
    pc_archiv = new QTabWidget(body());
    pc_archiv->setObjectName(QStringLiteral("pc_archiv"));
    setupSavePage();
    setupRestorePage();
    layout->addWidget(pc_archiv);
    setupProgress();
    layout->addWidget(gb_fortschritt);
    btn_close = addCloseButton();
    // Esc deletes the chosen archive while the restore page is shown (after its question).
    connect(pc_archiv, &QTabWidget::currentChanged, this, [this] {
        pb_all->setValue(0);
        lbl_file->clear();
        setEscapeButton(pc_archiv->currentWidget() == ts_restore ? btn_delete : btn_close);
    });
    resize(560, 380);
}

void Tfrm_archiv::setupSavePage()
{
    ts_save = new QWidget(pc_archiv);
    ts_save->setObjectName(QStringLiteral("ts_save"));
    auto* grid = new QGridLayout(ts_save);
    dir_zip = pathField("dir_zip", grid, 0, QStringLiteral("Save to Directory : "), ts_save, [this] {
        const QString start = dir_zip->text().isEmpty() ? backupDirectory() : dir_zip->text();
        const QString chosen =
            QFileDialog::getExistingDirectory(this, QStringLiteral("Save to Directory"), start);
        if (!chosen.isEmpty())
            dir_zip->setText(chosen);
    });
    auto* nameLabel = new QLabel(QStringLiteral("Filename :"), ts_save);
    ed_file = new QLineEdit(ts_save);
    ed_file->setObjectName(QStringLiteral("ed_file"));
    ed_file->setMaxLength(30);
    nameLabel->setBuddy(ed_file);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(ed_file, 1, 1);
    btn_save = pageButton("btn_save", "Save database", ts_save);
    grid->addWidget(btn_save, 2, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    connect(btn_save, &QPushButton::clicked, this, &Tfrm_archiv::btn_saveClick);
    pc_archiv->addTab(ts_save, QStringLiteral("&Save"));
}

void Tfrm_archiv::setupRestorePage()
{
    ts_restore = new QWidget(pc_archiv);
    ts_restore->setObjectName(QStringLiteral("ts_restore"));
    auto* grid = new QGridLayout(ts_restore);
    fne_database = pathField("fne_database", grid, 0, QStringLiteral("Select file : "), ts_restore, [this] {
        const QString chosen =
            QFileDialog::getOpenFileName(this, QStringLiteral("Select file"), backupDirectory(),
                                         QStringLiteral("Zip files (*.ZIP *.zip)"));
        if (!chosen.isEmpty())
            fne_database->setText(chosen);
    });
    btn_restore = pageButton("btn_restore", "&Restore database", ts_restore);
    btn_delete = pageButton("btn_delete", "&Delete file", ts_restore);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_restore);
    buttons->addWidget(btn_delete);
    buttons->addStretch();
    grid->addLayout(buttons, 1, 1);
    auto* note1 = new QLabel(QStringLiteral("Important : After restoring restart theCourtoria"), ts_restore);
    note1->setObjectName(QStringLiteral("lbl_1"));
    auto* note2 = new QLabel(QStringLiteral("to load the restored database !"), ts_restore);
    note2->setObjectName(QStringLiteral("lbl_2"));
    grid->addWidget(note1, 2, 1);
    grid->addWidget(note2, 3, 1);
    grid->setColumnStretch(1, 1);
    connect(btn_restore, &QPushButton::clicked, this, &Tfrm_archiv::btn_restoreClick);
    connect(btn_delete, &QPushButton::clicked, this, &Tfrm_archiv::btn_deleteClick);
    pc_archiv->addTab(ts_restore, QStringLiteral("&Restore"));
}

void Tfrm_archiv::setupProgress()
{
    gb_fortschritt = new QGroupBox(QStringLiteral("Progress"), body());
    gb_fortschritt->setObjectName(QStringLiteral("gb_fortschritt"));
    auto* column = new QVBoxLayout(gb_fortschritt);
    lbl_file = new QLabel(gb_fortschritt);
    lbl_file->setObjectName(QStringLiteral("lbl_file"));
    pb_file = new QProgressBar(gb_fortschritt);
    pb_file->setObjectName(QStringLiteral("pb_file"));
    pb_file->setAccessibleName(QStringLiteral("Progress of the file"));
    pb_all = new QProgressBar(gb_fortschritt);
    pb_all->setObjectName(QStringLiteral("pb_all"));
    pb_all->setAccessibleName(QStringLiteral("Progress of the whole run"));
    for (QProgressBar* bar : {pb_file, pb_all}) {
        bar->setRange(0, 100);
        bar->setTextVisible(false);
    }
    column->addWidget(lbl_file);
    column->addWidget(pb_file);
    column->addWidget(pb_all);
}

QString Tfrm_archiv::installDirectory() const
{
    return Store::installDirectory();
}

QString Tfrm_archiv::tablesDirectory() const
{
    return Store::tablesDirectory();
}

QString Tfrm_archiv::backupDirectory() const
{
    // Without an installation directory there is none: never a folder of wherever the program started.
    const QString install = installDirectory();
    return install.isEmpty() ? QString() : QDir(install).filePath(QStringLiteral("Backup"));
}

void Tfrm_archiv::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    pc_archiv->setCurrentWidget(ts_save);
    dir_zip->clear();
    if (QFileInfo(backupDirectory()).isDir())
        dir_zip->setText(backupDirectory());
    fne_database->clear();
    pb_file->setValue(0);
    pb_all->setValue(0);
    ed_file->setText(Archive::defaultName(QDate::currentDate()));
    // What a save or restore killed midway left behind goes now.
    if (!installDirectory().isEmpty()) {
        Archive::removeLeftovers(backupDirectory());
        Archive::removeLeftovers(installDirectory());
    }
}

Archive::Progress Tfrm_archiv::progressDisplay(const QString& endText)
{
    // Repaints between the steps; input waits, so that no second action starts in the middle.
    const auto repaint = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    Archive::Progress progress;
    progress.newFile = [this, repaint](const QString& name, qint64 size) {
        pb_all->setValue(pb_all->value() + 1);
        lbl_file->setText(name);
        const qint64 steps = size / Archive::stepBytes;
        pb_file->setRange(0, steps < 2 ? 1 : int(steps));
        pb_file->setValue(size < Archive::stepBytes ? pb_file->maximum() : 0);
        repaint();
    };
    progress.step = [this, repaint] {
        if (pb_file->value() < pb_file->maximum())
            pb_file->setValue(pb_file->value() + 1);
        repaint();
    };
    // The server's programs tell no sizes: the file bar shows that work goes on.
    progress.busy = [this, repaint] {
        pb_file->setRange(0, 0);
        repaint();
    };
    progress.finished = [this, endText, repaint] {
        lbl_file->setText(endText);
        pb_file->setRange(1, 10);
        pb_file->setValue(1);
        repaint();
    };
    return progress;
}

void Tfrm_archiv::endBusy()
{
    // A failed run must not look as if the server were still at work.
    if (pb_file->maximum() == 0) {
        pb_file->setRange(0, 100);
        pb_file->setValue(0);
    }
}

bool Tfrm_archiv::storeInPlace() const
{
    try {
        return Archive::storeInPlace();
    } catch (const Archive::ArchiveError&) {
        return false;
    }
}

void Tfrm_archiv::btn_saveClick()
{
    if (!storeInPlace()) {
        Messages::information(QStringLiteral("cannot find database !"));
        return;
    }
    lbl_file->setText(QStringLiteral("Database not saved !"));
    pb_file->setValue(0);
    pb_all->setValue(0);
    if (!QFileInfo(dir_zip->text()).isDir()) {
        Messages::information(QStringLiteral("Directory does not exist !"));
        return;
    }
    const QString archive = Archive::archivePath(dir_zip->text(), ed_file->text());
    if (QFile::exists(archive) &&
        !Messages::ask(QStringLiteral("overwriting existing file ?"), Messages::Icon::Information))
        return;
    // The store keeps one file; the bar counts the files that go into the archive.
    pb_all->setRange(0, 1);
    try {
        Archive::save(archive, progressDisplay(QStringLiteral("Database saved !")));
    } catch (const Archive::ArchiveError& e) {
        endBusy();
        Messages::information(QStringLiteral("Error on saving !"));
        Messages::error(e.message());
    }
}

void Tfrm_archiv::btn_restoreClick()
{
    pb_file->setValue(0);
    pb_all->setRange(0, 1);
    pb_all->setValue(0);
    const QString file = fne_database->text();
    if (!QFileInfo(file).isFile()) {
        Messages::information(QStringLiteral("Databasefile not exist !"));
        return;
    }
    if (!Archive::isRestoreFile(file)) {
        Messages::information(QStringLiteral("Not a legal Restorefile !"));
        return;
    }
    if (!storeInPlace()) {
        Messages::information(QStringLiteral("cannot find databasepath !"));
        return;
    }
    if (!Messages::ask(QStringLiteral("Restoring overwrites the actual database !\nContinue ?"),
                       Messages::Icon::Information))
        return;
    lbl_file->setText(QStringLiteral("Database not restored !"));
    try {
        Archive::restore(file, tablesDirectory(), progressDisplay(QStringLiteral("Database restored !")));
    } catch (const Archive::ArchiveError& e) {
        endBusy();
        lbl_file->setText(QStringLiteral("Database not restored !"));
        // A refused archive must not look like a broken library: the desk reads why it was refused.
        if (e.kind() == Archive::ArchiveError::Refused) {
            Messages::warning(e.message());
            return;
        }
        Messages::information(QStringLiteral("Error in Extract; Fatal DLL Exception !"));
        Messages::error(e.message());
    }
}

void Tfrm_archiv::btn_deleteClick()
{
    const QString file = fne_database->text();
    if (!QFileInfo(file).isFile()) {
        Messages::information(QStringLiteral("File does not exist !"));
        return;
    }
    if (!Messages::ask(QStringLiteral("Do you really want to delete ") + QFileInfo(file).fileName() +
                           QStringLiteral("?"),
                       Messages::Icon::Information))
        return;
    Messages::information(QFile::remove(file) ? QStringLiteral("File deleted")
                                              : QStringLiteral("not possible to delete file"));
}
