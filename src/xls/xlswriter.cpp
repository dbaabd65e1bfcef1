#include "xlswriter.h"

#include "olecontainer.h"

#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

namespace {

// Record identifiers of the Excel binary file format.
enum : quint16 {
    recEof = 0x000A,
    recCalcCount = 0x000C,
    recCalcMode = 0x000D,
    recPrecision = 0x000E,
    recRefMode = 0x000F,
    recDelta = 0x0010,
    recIteration = 0x0011,
    recDateMode = 0x0022,
    recPrintHeaders = 0x002A,
    recPrintGridlines = 0x002B,
    recFont = 0x0031,
    recContinue = 0x003C,
    recWindow1 = 0x003D,
    recCodePage = 0x0042,
    recDefColWidth = 0x0055,
    recColInfo = 0x007D,
    recGuts = 0x0080,
    recWsBool = 0x0081,
    recGridSet = 0x0082,
    recBoundSheet = 0x0085,
    recSetup = 0x00A1,
    recXf = 0x00E0,
    recSst = 0x00FC,
    recLabelSst = 0x00FD,
    recDimensions = 0x0200,
    recNumber = 0x0203,
    recLabel = 0x0204,
    recFontBiff4 = 0x0231,
    recWindow2 = 0x023E,
    recDefaultRowHeight = 0x0225,
    recStyle = 0x0293,
    recBofBiff4 = 0x0409,
    recFormat = 0x041E,
    recXfBiff4 = 0x0443,
    recBof = 0x0809,
};

enum class Biff { v4, v5, v8 };

constexpr int firstWriterXf = 16;
constexpr int firstOwnFont = 5; // Excel skips font index 4
constexpr quint16 noPatternColours = 64 | (65 << 7);

// Little-endian record data.
class Bytes {
public:
    Bytes& u8(unsigned v)
    {
        data.append(char(v & 0xFF));
        return *this;
    }
    Bytes& u16(unsigned v) { return u8(v).u8(v >> 8); }
    Bytes& u32(quint32 v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        return u32(quint32(bits)).u32(quint32(bits >> 32));
    }
    Bytes& raw(const QByteArray& v)
    {
        data.append(v);
        return *this;
    }
    QByteArray data;
};

// A record stream that splits record data over CONTINUE records where it exceeds the version's limit.
class RecordStream {
public:
    explicit RecordStream(int limit)
        : limit_(limit)
    {
    }
    void add(quint16 id, const QByteArray& body)
    {
        qsizetype at = 0;
        quint16 current = id;
        do {
            const qsizetype piece = std::min<qsizetype>(limit_, body.size() - at);
            header(current, piece);
            out.append(body.constData() + at, piece);
            at += piece;
            current = recContinue;
        } while (at < body.size());
    }
    void add(quint16 id, const Bytes& body) { add(id, body.data); }
    // Record data already cut into pieces by the caller, the first under id, the rest as CONTINUE.
    void addPieces(quint16 id, const std::vector<QByteArray>& pieces)
    {
        quint16 current = id;
        for (const QByteArray& piece : pieces) {
            header(current, piece.size());
            out.append(piece);
            current = recContinue;
        }
    }
    QByteArray out;

private:
    void header(quint16 id, qsizetype size)
    {
        Bytes h;
        h.u16(id).u16(quint16(size));
        out.append(h.data);
    }
    int limit_;
};

// Windows code page 1252: Latin-1 apart from the printable characters Microsoft placed in 0x80..0x9F.
QByteArray toCp1252(const QString& text)
{
    static const std::map<char16_t, char> extra = {
        {0x20AC, '\x80'}, {0x201A, '\x82'}, {0x0192, '\x83'}, {0x201E, '\x84'}, {0x2026, '\x85'},
        {0x2020, '\x86'}, {0x2021, '\x87'}, {0x02C6, '\x88'}, {0x2030, '\x89'}, {0x0160, '\x8A'},
        {0x2039, '\x8B'}, {0x0152, '\x8C'}, {0x017D, '\x8E'}, {0x2018, '\x91'}, {0x2019, '\x92'},
        {0x201C, '\x93'}, {0x201D, '\x94'}, {0x2022, '\x95'}, {0x2013, '\x96'}, {0x2014, '\x97'},
        {0x02DC, '\x98'}, {0x2122, '\x99'}, {0x0161, '\x9A'}, {0x203A, '\x9B'}, {0x0153, '\x9C'},
        {0x017E, '\x9E'}, {0x0178, '\x9F'}};
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
        } else if (const auto found = extra.find(u); found != extra.end()) {
            out.append(found->second);
        } else if (!c.isLowSurrogate()) {
            out.append('?');
        }
    }
    return out;
}

QByteArray utf16le(const QString& text)
{
    Bytes b;
    for (const QChar c : text)
        b.u16(c.unicode());
    return b.data;
}

bool fitsCompressed(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

QByteArray latin1(const QString& text)
{
    QByteArray out;
    for (const QChar c : text)
        out.append(char(c.unicode()));
    return out;
}

// A BIFF8 string: 8-bit when every character allows it, otherwise UTF-16.
QByteArray biff8String(const QString& text, bool longLength)
{
    Bytes b;
    if (longLength)
        b.u16(text.size());
    else
        b.u8(text.size());
    if (fitsCompressed(text))
        b.u8(0).raw(latin1(text));
    else
        b.u8(1).raw(utf16le(text));
    return b.data;
}

// The declared user formats, by identifier.
const std::pair<int, const char*> userFormats[] = {
    {50, "0.00"}, {51, "#,##0"}, {52, "#,##0.00"}, {53, "0.00%"}};

int numberFormatId(TXLSWrite::NumberFormat format)
{
    switch (format) {
    case TXLSWrite::NumberFormat::tf0Dec1000: return 51;
    case TXLSWrite::NumberFormat::tf2Dec1000: return 52;
    case TXLSWrite::NumberFormat::General: break;
    }
    return 0;
}

struct FontKey {
    int colour;
    bool bold;
    auto operator<=>(const FontKey&) const = default;
};

// The fonts the formats need beyond the base font, in the order they are declared.
std::vector<FontKey> ownFonts(const std::vector<TXLSWrite::CellFormat>& formats)
{
    std::vector<FontKey> fonts;
    for (const auto& f : formats) {
        const FontKey key{f.fontColour, f.bold};
        if (key == FontKey{TXLSWrite::Black, false})
            continue;
        if (std::find(fonts.begin(), fonts.end(), key) == fonts.end())
            fonts.push_back(key);
    }
    return fonts;
}

int fontIndex(const std::vector<FontKey>& fonts, const TXLSWrite::CellFormat& f)
{
    const auto found = std::find(fonts.begin(), fonts.end(), FontKey{f.fontColour, f.bold});
    return found == fonts.end() ? 0 : firstOwnFont + int(found - fonts.begin());
}

QByteArray fontRecordBody(Biff biff, const FontKey& key)
{
    Bytes b;
    // Excel reads the weight; older readers still look at the bold bit of the options.
    b.u16(200).u16(key.bold ? 1 : 0).u16(key.colour).u16(key.bold ? 700 : 400).u16(0).u8(0).u8(2).u8(0).u8(0);
    const QString name = QStringLiteral("Arial");
    if (biff == Biff::v8)
        b.raw(biff8String(name, false));
    else
        b.u8(name.size()).raw(toCp1252(name));
    return b.data;
}

// Style XFs 0..14 and the default cell XF 15: plain, as every workbook starts.
QByteArray standardXf(Biff biff, int index)
{
    const bool style = index < 15;
    const unsigned typeProt = style ? 0xFFF5 : 0x0001;
    const unsigned used = (style && index > 0) ? 0xF4 : 0x00;
    Bytes b;
    b.u16(0).u16(0).u16(typeProt);
    if (biff == Biff::v8) {
        b.u8(0x20).u8(0).u8(0).u8(used).u32(0).u32(0).u16(noPatternColours);
    } else {
        b.u8(0x20).u8(used).u32(noPatternColours).u32(0);
    }
    return b.data;
}

QByteArray writerXf(Biff biff, const TXLSWrite::CellFormat& f, int font)
{
    const unsigned horizontal = f.horizontal == TXLSWrite::HorizontalAlignment::Centred ? 2 : 0;
    const unsigned alignment = horizontal | (0 << 4); // vertically top, no wrapping
    const unsigned thin = f.borders ? 1 : 0;
    const unsigned lineColour = f.borders ? TXLSWrite::Black : 0;
    Bytes b;
    b.u16(font).u16(numberFormatId(f.numberFormat)).u16(0x0000); // unlocked cell XF, parent style 0
    if (biff == Biff::v8) {
        b.u8(alignment).u8(0).u8(0).u8(0xFC);
        b.u32(thin | thin << 4 | thin << 8 | thin << 12 | lineColour << 16 | lineColour << 23);
        b.u32(lineColour | lineColour << 7);
        b.u16(noPatternColours);
    } else {
        b.u8(alignment).u8(0xFC);
        b.u32(noPatternColours | thin << 22 | lineColour << 25);
        b.u32(thin | thin << 3 | thin << 6 | lineColour << 9 | lineColour << 16 | lineColour << 23);
    }
    return b.data;
}

QByteArray bof(Biff biff, unsigned type)
{
    Bytes b;
    if (biff == Biff::v8)
        b.u16(0x0600).u16(type).u16(0x0DBB).u16(0x07CC).u32(0).u32(0x0006);
    else if (biff == Biff::v5)
        b.u16(0x0500).u16(type).u16(2412).u16(1993); // the build and year of Excel 5.0 itself
    else
        b.u16(0).u16(type).u16(0);
    return b.data;
}

} // namespace

TXLSWrite::TXLSWrite()
{
    const auto money = NumberFormat::tf2Dec1000;
    const auto general = NumberFormat::General;
    const auto centred = HorizontalAlignment::Centred;
    const auto left = HorizontalAlignment::General;
    Formats = {
        {QStringLiteral("Format 0"), general, Black, false, left, true},
        {QStringLiteral("ZahlRot"), money, Red, false, left, true},
        {QStringLiteral("ZahlBlau"), money, Blue, false, left, true},
        {QStringLiteral("Zahl"), money, Black, false, left, true},
        {QStringLiteral("Format 4"), general, Black, false, centred, true},
        {QStringLiteral("leer"), general, Black, false, left, false},
        {QStringLiteral("fettnormal"), general, Black, true, left, true},
        {QStringLiteral("ZahlRotFett"), money, Red, true, left, true},
        {QStringLiteral("ZahlBlauFett"), money, Blue, true, left, true},
        {QStringLiteral("ZahlFett"), money, Black, true, left, false},
    };
}

TXLSWrite::~TXLSWrite() = default;

void TXLSWrite::setXLSVersion(Version version)
{
    if (open_ && version != version_)
        throw XLSError(QStringLiteral("Version can not be changed while file is open"));
    version_ = version;
}

TXLSWrite::NumberFormat TXLSWrite::numberFormatFor(int factor)
{
    return factor == 1 ? NumberFormat::tf0Dec1000 : NumberFormat::tf2Dec1000;
}

void TXLSWrite::setNachkommafaktor(int factor)
{
    for (int n : {1, 2, 3, 7, 8, 9})
        if (n < int(Formats.size()))
            Formats[n].numberFormat = numberFormatFor(factor);
}

void TXLSWrite::OpenFile()
{
    for (const QString& name : Sheets)
        if (name.isEmpty())
            throw XLSError(QStringLiteral("Sheet Name is missing"));
    if (FileName.trimmed().isEmpty())
        throw XLSError(QStringLiteral("Filename is missing"));
    if (open_)
        throw XLSError(version_ == Version::xls40 ? QStringLiteral("File is already open")
                                                  : QStringLiteral("File is allready open"));
    // An Excel 4.0 file is a single worksheet. Refusing several names before the file is touched
    // keeps an export from silently dropping every account after the first.
    if (version_ == Version::xls40 && Sheets.size() > 1)
        throw XLSError(
            QStringLiteral("An Excel 4.0 file holds one worksheet only: choose Excel 5.0 or Excel 97 "
                           "for several worksheets"));
    // The cells go into a file of their own beside the target, which takes the target's place only
    // once it is complete: a failure on the way leaves the previous file as it was. Opening it now
    // reports a folder that is missing or a file that cannot be replaced before any cell is written.
    auto pending = std::make_unique<QSaveFile>(FileName.trimmed());
    if (!pending->open(QIODevice::WriteOnly))
        throw XLSError(pending->errorString());
    pending_ = std::move(pending);
    openSheets_ = Sheets.isEmpty() ? QStringList{QStringLiteral("Sheet1")} : Sheets;
    sheets_.assign(1, Sheet{});
    open_ = true;
}

void TXLSWrite::requireOpen() const
{
    if (!open_)
        throw XLSError(QStringLiteral("Can not write cells when file is closed"));
}

void TXLSWrite::checkCell(int column, int row, int format) const
{
    requireOpen();
    const int lastRow = version_ == Version::xls97 ? 65535 : 16383;
    if (column < 0 || column > 255 || row < 0 || row > lastRow)
        throw XLSError(QStringLiteral("Cell R%1,C%2 is outside the worksheet").arg(row + 1).arg(column + 1));
    if (format < 0 || format >= int(Formats.size()))
        throw XLSError(QStringLiteral("Cell R%1,C%2: Format %3 does not exist")
                           .arg(row + 1)
                           .arg(column + 1)
                           .arg(format));
}

void TXLSWrite::SetColumnWidths(int firstColumn, int lastColumn, int width, int format)
{
    requireOpen();
    if (firstColumn < 0 || lastColumn > 255 || firstColumn > lastColumn)
        throw XLSError(QStringLiteral("Column %1 to %2 is outside the worksheet")
                           .arg(firstColumn + 1)
                           .arg(lastColumn + 1));
    if (format < 0 || format >= int(Formats.size()))
        throw XLSError(QStringLiteral("Format %1 does not exist").arg(format));
    sheets_.back().columns.push_back({firstColumn, lastColumn, std::clamp(width, 0, 0xFFFF), format});
}

void TXLSWrite::WriteText(int column, int row, int format, const QString& text)
{
    checkCell(column, row, format);
    if (text.isEmpty())
        return;
    if (version_ == Version::xls97) {
        if (text.size() > 32767)
            throw XLSError(QStringLiteral("Cell R%1,C%2: String length more than 32767 bytes")
                               .arg(row + 1)
                               .arg(column + 1));
    } else if (toCp1252(text).size() > 255) {
        throw XLSError(
            QStringLiteral("Cell R%1,C%2: String length more than 255 bytes").arg(row + 1).arg(column + 1));
    }
    sheets_.back().cells.push_back({column, row, format, true, text, 0.0});
}

void TXLSWrite::WriteNumber(int column, int row, int format, double value)
{
    checkCell(column, row, format);
    sheets_.back().cells.push_back({column, row, format, false, QString(), value});
}

void TXLSWrite::NextSheet()
{
    if (!open_)
        throw XLSError(QStringLiteral("Call to NextSheet without OpenFile"));
    if (int(sheets_.size()) >= openSheets_.size())
        throw XLSError(QStringLiteral("Sheet index out of range"));
    sheets_.emplace_back();
}

void TXLSWrite::CloseFile()
{
    if (!open_)
        return;
    open_ = false;
    while (int(sheets_.size()) < openSheets_.size())
        sheets_.emplace_back();
    std::unique_ptr<QSaveFile> file = std::move(pending_);
    QByteArray content;
    if (version_ == Version::xls40) {
        content = worksheetFile();
    } else {
        const QByteArray stream = workbookStream();
        std::string failure;
        const std::string document =
            OleContainer::singleStreamDocument(version_ == Version::xls97 ? "Workbook" : "Book",
                                               stream.constData(), std::size_t(stream.size()), failure);
        if (!failure.empty()) {
            sheets_.clear();
            throw XLSError(QString::fromStdString(failure));
        }
        content = QByteArray(document.data(), qsizetype(document.size()));
    }
    sheets_.clear();
    if (file->write(content) != content.size() || !file->commit())
        throw XLSError(file->errorString());
}

void TXLSWrite::CancelFile()
{
    open_ = false;
    sheets_.clear();
    pending_.reset(); // never committed: the target stays as it was
}

namespace {

struct SheetLayout {
    const TXLSWrite::Options& options;
    const TXLSWrite::PageSetup& pageSetup;
};

// The shared string table, cut so that no record exceeds the limit: a string's header never splits,
// and a string continued in the next record starts it with its own 8-bit/UTF-16 flag.
std::vector<QByteArray> sstPieces(const QStringList& strings, quint32 total, int limit)
{
    std::vector<QByteArray> pieces;
    Bytes head;
    head.u32(total).u32(quint32(strings.size()));
    QByteArray current = head.data;
    const auto room = [&] { return limit - int(current.size()); };
    const auto flush = [&] {
        pieces.push_back(current);
        current.clear();
    };
    for (const QString& text : strings) {
        const bool compressed = fitsCompressed(text);
        const int charSize = compressed ? 1 : 2;
        if (room() < 3 + charSize)
            flush();
        Bytes h;
        h.u16(text.size()).u8(compressed ? 0 : 1);
        current.append(h.data);
        const QByteArray chars = compressed ? latin1(text) : utf16le(text);
        qsizetype at = 0;
        while (at < chars.size()) {
            if (room() < charSize) {
                flush();
                current.append(char(compressed ? 0 : 1));
            }
            const qsizetype take = std::min<qsizetype>((room() / charSize) * charSize, chars.size() - at);
            current.append(chars.constData() + at, take);
            at += take;
        }
    }
    pieces.push_back(current);
    return pieces;
}

QByteArray setupBody(Biff biff, const TXLSWrite::PageSetup& page)
{
    const unsigned orientation = page.portrait ? 0x02 : 0x00;
    const unsigned usePageNumber = 0x80;
    Bytes b;
    b.u16(9).u16(page.scaling).u16(page.firstPageNumber).u16(1).u16(1).u16(orientation | usePageNumber);
    if (biff != Biff::v4)
        b.u16(600).u16(600).f64(0.5).f64(0.5).u16(page.copies);
    return b.data;
}

} // namespace

QByteArray TXLSWrite::sheetStream(int biffVersion, std::size_t index,
                                  const QHash<QString, quint32>& strings) const
{
    const Biff biff = Biff(biffVersion);
    const Sheet& sheet = sheets_[index];
    // Cells in row order; a cell written twice keeps its last value.
    std::vector<Cell> cells = sheet.cells;
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
        return std::pair(a.row, a.column) < std::pair(b.row, b.column);
    });
    std::vector<Cell> unique;
    for (const Cell& c : cells) {
        if (!unique.empty() && unique.back().row == c.row && unique.back().column == c.column)
            unique.back() = c;
        else
            unique.push_back(c);
    }
    // Excel 4.0 cells keep the default cell format: the formats there have no effect.
    const auto xf = [&](int format) { return biff == Biff::v4 ? firstWriterXf - 1 : firstWriterXf + format; };

    RecordStream out(biff == Biff::v8 ? 8224 : 2080);
    out.add(biff == Biff::v4 ? recBofBiff4 : recBof, bof(biff, 0x0010));
    out.add(recCalcMode, Bytes().u16(1));
    out.add(recCalcCount, Bytes().u16(100));
    out.add(recRefMode, Bytes().u16(1));
    out.add(recIteration, Bytes().u16(0));
    out.add(recDelta, Bytes().f64(0.001));
    out.add(recPrintHeaders, Bytes().u16(pageSetup.printHeadings ? 1 : 0));
    out.add(recPrintGridlines, Bytes().u16(pageSetup.printGridlines ? 1 : 0));
    out.add(recGridSet, Bytes().u16(1));
    out.add(recGuts, Bytes().u16(0).u16(0).u16(0).u16(0));
    out.add(recDefaultRowHeight, Bytes().u16(0).u16(255));
    out.add(recWsBool, Bytes().u16(0x04C1));
    out.add(recSetup, setupBody(biff, pageSetup));
    if (biff == Biff::v4) {
        // A worksheet file carries its own font, number format and the default cell format.
        out.add(recCodePage, Bytes().u16(1252));
        const QString font = QStringLiteral("Arial");
        out.add(recFontBiff4, Bytes().u16(200).u16(0).u16(Black).u8(font.size()).raw(toCp1252(font)));
        out.add(recFormat, Bytes().u16(0).u8(7).raw(QByteArray("General")));
        for (int i = 0; i < firstWriterXf; ++i) {
            const bool style = i < 15;
            out.add(recXfBiff4, Bytes()
                                    .u8(0)
                                    .u8(0)
                                    .u16(style ? 0xFFF5 : 0x0001)
                                    .u8(0x20)
                                    .u8(style && i > 0 ? 0xF4 : 0x00)
                                    .u16(0)
                                    .u32(0));
        }
        out.add(recStyle, Bytes().u16(0x8000).u8(0).u8(0xFF));
    }
    out.add(recDefColWidth, Bytes().u16(8));
    for (const Column& c : sheet.columns)
        out.add(recColInfo, Bytes().u16(c.first).u16(c.last).u16(c.width).u16(xf(c.format)).u16(0).u16(0));

    int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
    if (!unique.empty()) {
        firstRow = unique.front().row;
        lastRow = unique.back().row + 1;
        firstColumn = 255;
        for (const Cell& c : unique) {
            firstColumn = std::min(firstColumn, c.column);
            lastColumn = std::max(lastColumn, c.column + 1);
        }
    }
    Bytes dimensions;
    if (biff == Biff::v8)
        dimensions.u32(firstRow).u32(lastRow);
    else
        dimensions.u16(firstRow).u16(lastRow);
    out.add(recDimensions, dimensions.u16(firstColumn).u16(lastColumn).u16(0));

    for (const Cell& c : unique) {
        Bytes b;
        b.u16(c.row).u16(c.column).u16(xf(c.format));
        if (!c.isText) {
            out.add(recNumber, b.f64(c.number));
        } else if (biff == Biff::v8) {
            out.add(recLabelSst, b.u32(strings.value(c.text)));
        } else {
            const QByteArray text = toCp1252(c.text);
            out.add(recLabel, b.u16(text.size()).raw(text));
        }
    }

    unsigned window = 0x0010 | 0x0020 | 0x0080; // zeros, default header colour, outline symbols
    if (options.gridlines)
        window |= 0x0002;
    if (options.rowColHeadings)
        window |= 0x0004;
    if (index == 0)
        window |= 0x0200 | 0x0400; // selected and shown
    Bytes window2;
    window2.u16(window).u16(0).u16(0);
    if (biff == Biff::v8)
        window2.u16(64).u16(0).u16(0).u16(0).u32(0);
    else
        window2.u32(0);
    out.add(recWindow2, window2);
    out.add(recEof, QByteArray());
    return out.out;
}

QByteArray TXLSWrite::workbookStream() const
{
    const Biff biff = version_ == Version::xls97 ? Biff::v8 : Biff::v5;
    const int limit = biff == Biff::v8 ? 8224 : 2080;

    QStringList strings;
    QHash<QString, quint32> stringIndex;
    quint32 textCells = 0;
    if (biff == Biff::v8) {
        for (const Sheet& sheet : sheets_)
            for (const Cell& c : sheet.cells)
                if (c.isText) {
                    ++textCells;
                    if (!stringIndex.contains(c.text)) {
                        stringIndex.insert(c.text, quint32(strings.size()));
                        strings.append(c.text);
                    }
                }
    }
    std::vector<QByteArray> sheetStreams;
    for (std::size_t i = 0; i < sheets_.size(); ++i)
        sheetStreams.push_back(sheetStream(int(biff), i, stringIndex));

    const std::vector<FontKey> fonts = ownFonts(Formats);
    const auto globals = [&](const std::vector<quint32>& sheetOffsets) {
        RecordStream out(limit);
        out.add(recBof, bof(biff, 0x0005));
        out.add(recCodePage, Bytes().u16(biff == Biff::v8 ? 1200 : 1252));
        out.add(recWindow1,
                Bytes().u16(0).u16(0).u16(0x3000).u16(0x2000).u16(0x0038).u16(0).u16(0).u16(1).u16(600));
        out.add(recDateMode, Bytes().u16(0));
        out.add(recPrecision, Bytes().u16(1));
        for (int i = 0; i < 4; ++i)
            out.add(recFont, fontRecordBody(biff, {Black, false}));
        for (const FontKey& font : fonts)
            out.add(recFont, fontRecordBody(biff, font));
        for (const auto& [id, text] : userFormats) {
            Bytes b;
            b.u16(id);
            if (biff == Biff::v8)
                b.raw(biff8String(QString::fromLatin1(text), true));
            else
                b.u8(int(std::strlen(text))).raw(QByteArray(text));
            out.add(recFormat, b);
        }
        for (int i = 0; i < firstWriterXf; ++i)
            out.add(recXf, standardXf(biff, i));
        for (const CellFormat& f : Formats)
            out.add(recXf, writerXf(biff, f, fontIndex(fonts, f)));
        out.add(recStyle, Bytes().u16(0x8000).u8(0).u8(0xFF));
        for (std::size_t i = 0; i < sheets_.size(); ++i) {
            Bytes b;
            b.u32(sheetOffsets[i]).u16(0);
            const QString& name = openSheets_[qsizetype(i)];
            if (biff == Biff::v8)
                b.raw(biff8String(name.left(31), false));
            else
                b.u8(int(toCp1252(name.left(31)).size())).raw(toCp1252(name.left(31)));
            out.add(recBoundSheet, b);
        }
        if (biff == Biff::v8)
            out.addPieces(recSst, sstPieces(strings, textCells, limit));
        out.add(recEof, QByteArray());
        return out.out;
    };

    std::vector<quint32> offsets(sheets_.size(), 0);
    quint32 position = quint32(globals(offsets).size());
    for (std::size_t i = 0; i < sheets_.size(); ++i) {
        offsets[i] = position;
        position += quint32(sheetStreams[i].size());
    }
    QByteArray stream = globals(offsets);
    for (const QByteArray& s : sheetStreams)
        stream.append(s);
    // A stream under 4096 bytes would go into the container's small-block stream, where Excel's own
    // workbooks never keep theirs; zeros after the last EOF keep a small export where Excel expects
    // it, and every reader stops at that EOF.
    constexpr qsizetype smallStreamLimit = 4096;
    if (stream.size() < smallStreamLimit)
        stream.append(QByteArray(smallStreamLimit - stream.size(), '\0'));
    return stream;
}

QByteArray TXLSWrite::worksheetFile() const
{
    return sheetStream(int(Biff::v4), 0, {});
}
