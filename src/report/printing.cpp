#include "report/printing.h"

#include "report/reportpainter.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

namespace Printing {
namespace {

QString& printerFile()
{
    static QString file;
    return file;
}

bool paintOn(const Report::Document& document, QPrinter& printer)
{
    printer.setFullPage(true);
    // Copies are laid out as pages of their own: a driver that ignores the copy count (PDF does)
    // still gives every copy.
    printer.setCopyCount(1);
    printer.setDocName(document.name);
    return Report::paint(document, printer);
}

} // namespace

void setPrinterFile(const QString& file)
{
    printerFile() = file;
}

bool print(const Report::Document& document)
{
    return printFailure(document).isEmpty();
}

QString printFailure(const Report::Document& document)
{
    if (document.isEmpty())
        return {};
    if (!printerFile().isEmpty())
        return writePdf(document, printerFile())
                   ? QString()
                   : QStringLiteral("the file %1 could not be written").arg(printerFile());
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        return QStringLiteral("no printer is set up");
    QPrinter printer(QPrinter::HighResolution);
    return paintOn(document, printer)
               ? QString()
               : QStringLiteral("the printer %1 did not take it").arg(defaultPrinter.printerName());
}

bool writePdf(const Report::Document& document, const QString& file)
{
    if (document.isEmpty())
        return true;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return paintOn(document, printer);
}

void preview(const Report::Document& document, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(document.name);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&document](QPrinter* target) { paintOn(document, *target); });
    if (auto* tools = dialog.findChild<QToolBar*>()) {
        QAction* save = tools->addAction(QStringLiteral("Save as PDF"));
        save->setObjectName(QStringLiteral("act_savepdf"));
        QObject::connect(save, &QAction::triggered, &dialog, [&dialog, &document] {
            const QString file = QFileDialog::getSaveFileName(&dialog, QStringLiteral("Save as PDF"),
                                                              document.name + QStringLiteral(".pdf"),
                                                              QStringLiteral("PDF files (*.pdf)"));
            if (!file.isEmpty())
                writePdf(document, file);
        });
    }
    // Maximised even where no window manager honours the state, and zoomed to the page width once
    // shown: the dialog picks its own zoom while it opens.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        dialog.setGeometry(screen->availableGeometry());
    dialog.setWindowState(Qt::WindowMaximized);
    QTimer::singleShot(0, &dialog, [&dialog] {
        if (auto* fitWidth = dialog.findChild<QAction*>(QStringLiteral("fitWidthAction")))
            fitWidth->trigger();
    });
    dialog.exec();
}

} // namespace Printing
