#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

#include <stdexcept>
#include <vector>

// Writes an Excel file of one of three versions cell by cell: a plain BIFF4 worksheet file for
// Excel 4.0, a BIFF5 ("Book") or BIFF8 ("Workbook") workbook in a compound document for Excel 5.0
// and 97. Rows and columns count from 0 (cell A1 is column 0, row 0); error texts name cells the
// way Excel's R1C1 notation does, counting from 1. Every refused call throws XLSError with the text
// the desk sees. OpenFile creates (or empties) the file at once, so that a folder that is missing
// shows before any cell; the cells are kept in memory and CloseFile writes the whole file, since
// the workbook header must list every worksheet's position and, for Excel 97, every text.
// Excel 4.0 files hold one worksheet: OpenFile refuses several sheet names for them.
class QSaveFile;

class XLSError : public std::runtime_error {
public:
    explicit XLSError(const QString& message)
        : std::runtime_error(message.toStdString())
        , message_(message)
    {
    }
    const QString& message() const { return message_; }

private:
    QString message_;
};

class TXLSWrite final {
public:
    enum class Version { xls40, xls50, xls97 };
    enum class NumberFormat { General, tf0Dec1000, tf2Dec1000 };
    enum class HorizontalAlignment { General, Centred };
    // Indices of Excel's standard palette.
    static constexpr int Black = 8;
    static constexpr int Red = 10;
    static constexpr int Blue = 48;

    struct CellFormat {
        QString name;
        NumberFormat numberFormat = NumberFormat::General;
        int fontColour = Black;
        bool bold = false;
        HorizontalAlignment horizontal = HorizontalAlignment::General;
        bool borders = true;
    };

    struct Options {
        bool gridlines = true;
        bool rowColHeadings = true;
    };

    struct PageSetup {
        bool portrait = true;
        int scaling = 46;
        int firstPageNumber = 1;
        int copies = 0;
        bool printGridlines = false;
        bool printHeadings = false;
    };

    TXLSWrite();
    ~TXLSWrite();
    TXLSWrite(const TXLSWrite&) = delete;
    TXLSWrite& operator=(const TXLSWrite&) = delete;

    QString FileName;
    QStringList Sheets{QStringLiteral("Sheet1")};
    std::vector<CellFormat> Formats;
    Options options;
    PageSetup pageSetup;

    Version XLSVersion() const { return version_; }
    void setXLSVersion(Version version);

    // The number formats of the money formats (1, 2, 3, 7, 8, 9) follow the session's factor:
    // 1 shows whole amounts, 10 and 100 two decimals.
    void setNachkommafaktor(int factor);
    static NumberFormat numberFormatFor(int factor);

    bool isOpen() const { return open_; }
    void OpenFile();
    void SetColumnWidths(int firstColumn, int lastColumn, int width, int format);
    void WriteText(int column, int row, int format, const QString& text);
    void WriteNumber(int column, int row, int format, double value);
    void NextSheet();
    void CloseFile();
    void CancelFile();

private:
    struct Column {
        int first;
        int last;
        int width;
        int format;
    };
    struct Cell {
        int column;
        int row;
        int format;
        bool isText;
        QString text;
        double number;
    };
    struct Sheet {
        std::vector<Column> columns;
        std::vector<Cell> cells;
    };

    void requireOpen() const;
    void checkCell(int column, int row, int format) const;
    QByteArray sheetStream(int biffVersion, std::size_t index, const QHash<QString, quint32>& strings) const;
    QByteArray workbookStream() const;
    QByteArray worksheetFile() const;

    Version version_ = Version::xls97;
    bool open_ = false;
    std::unique_ptr<QSaveFile> pending_;
    QStringList openSheets_;
    std::vector<Sheet> sheets_;
};
