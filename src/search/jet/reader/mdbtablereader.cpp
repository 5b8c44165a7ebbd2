#include "mdbtablereader.h"

#include "jettext.h"
#include "jetwireformat.h"
#include "wirewriter.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

constexpr int OffsetMask = 0x1FFF;
constexpr std::uint32_t MemoInline = 0x80000000u;
constexpr std::uint32_t MemoSinglePage = 0x40000000u;
constexpr std::uint32_t MemoLengthMask = 0x00FFFFFFu;

// A failure record's text: the reason code, then its arguments (jetwireformat.h).
std::string reason(const char *code, std::initializer_list<std::string> arguments = {})
{
    std::string text(code);
    for (const std::string &argument : arguments) {
        text += JetWire::ArgumentSeparator;
        text += argument;
    }
    return text;
}
}

MdbTableReader::MdbTableReader(WireWriter &out) : m_out(out), m_chunk(2 * MDB_PGSIZE) {}

MdbTableReader::~MdbTableReader()
{
    if (m_table)
        mdb_free_tabledef(m_table);
    if (m_mdb)
        mdb_close(m_mdb);
}

std::string MdbTableReader::run(const char *path)
{
    std::string error = open(path);
    if (error.empty())
        error = findColumns();
    if (error.empty())
        error = readRows();
    return error;
}

std::string MdbTableReader::open(const char *path)
{
    m_mdb = mdb_open(path, MDB_NOFLAGS);
    if (!m_mdb)
        return reason(JetWire::Reason::NotJet);
    m_jet3 = m_mdb->f->jet_version == MDB_VER_JET3;
    if (m_jet3) {
        const QByteArray name = JetText::decoderNameForCodePage(m_mdb->f->code_page);
        if (name.isEmpty())
            return reason(JetWire::Reason::UnknownCodePage, {std::to_string(unsigned(m_mdb->f->code_page))});
        m_codePage.emplace(name.constData(), QStringDecoder::Flag::Stateless);
    }
    // The catalogue is read once: a second read leaves table definitions dangling.
    if (!mdb_read_catalog(m_mdb, MDB_TABLE))
        return reason(JetWire::Reason::NoCatalogue);
    MdbCatalogEntry *entry = nullptr;
    for (unsigned i = 0; i < m_mdb->num_catalog; ++i) {
        auto *candidate = static_cast<MdbCatalogEntry *>(g_ptr_array_index(m_mdb->catalog, i));
        if (candidate->object_type == MDB_TABLE && g_ascii_strcasecmp(candidate->object_name, "maindata") == 0) {
            entry = candidate;
            break;
        }
    }
    if (!entry)
        return reason(JetWire::Reason::NoTable);
    m_table = mdb_read_table(entry);
    if (!m_table || !mdb_read_columns(m_table))
        return reason(JetWire::Reason::NoTableDefinition);
    return {};
}

std::string MdbTableReader::findColumns()
{
    for (unsigned i = 0; i < m_table->num_cols; ++i) {
        auto *col = static_cast<MdbColumn *>(g_ptr_array_index(m_table->columns, i));
        for (int c = 0; c < JetWire::ColumnCount; ++c) {
            if (!m_columns[c] && g_ascii_strcasecmp(col->name, JetWire::ColumnNames[c]) == 0) {
                m_columns[c] = col;
                m_columnIndex[c] = int(i);
            }
        }
    }
    for (int c = 0; c < JetWire::ColumnCount; ++c) {
        if (!m_columns[c])
            return reason(JetWire::Reason::NoColumn, {JetWire::ColumnNames[c]});
    }
    m_fields.resize(m_table->num_cols);
    m_fieldOfColumn.resize(m_table->num_cols);
    return {};
}

std::string MdbTableReader::readRows()
{
    mdb_rewind_table(m_table);
    while (mdb_fetch_row(m_table)) {
        ++m_rowNumber;
        // libmdb reports NULL and empty text alike; the row's null mask tells them apart.
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(m_mdb, int(m_table->cur_row) - 1, &start, &size) != 0)
            return reason(JetWire::Reason::RowLost, {std::to_string(m_rowNumber)});
        const int count = mdb_crack_row(m_table, start & OffsetMask, size, m_fields.data());
        if (count < 0)
            return reason(JetWire::Reason::RowUnreadable, {std::to_string(m_rowNumber)});
        std::fill(m_fieldOfColumn.begin(), m_fieldOfColumn.end(), -1);
        for (int f = 0; f < count; ++f) {
            if (m_fields[f].colnum >= 0 && unsigned(m_fields[f].colnum) < m_table->num_cols)
                m_fieldOfColumn[m_fields[f].colnum] = f;
        }
        // The row goes out only once all its values were read, so that a
        // failure never leaves half a row in the stream.
        for (int c = 0; c < JetWire::ColumnCount; ++c) {
            const int f = m_fieldOfColumn[m_columnIndex[c]];
            m_cells[c].kind = JetWire::Null;
            if (f < 0)
                continue;
            std::string error = readValue(m_columns[c], m_fields[f], m_cells[c]);
            if (!error.empty())
                return error;
        }
        writeRow();
    }
    m_out.end(m_rowNumber, m_table->num_rows);
    return {};
}

std::string MdbTableReader::readValue(MdbColumn *col, const MdbField &field, Cell &cell)
{
    const unsigned char *page = m_mdb->pg_buf;
    cell.text.clear();
    if (col->col_type == MDB_BOOL) {
        setNumber(cell, field.is_null ? 0.0 : -1.0); // the null bit holds a yes/no value
        return {};
    }
    if (field.is_null)
        return {};
    switch (col->col_type) {
    case MDB_TEXT:
        cell.kind = JetWire::Text;
        appendText(page + field.start, std::size_t(field.siz), col, cell.text);
        return {};
    case MDB_MEMO: {
        std::string error = readMemo(col, field);
        if (!error.empty())
            return error;
        cell.kind = JetWire::Text;
        appendText(reinterpret_cast<const unsigned char *>(m_raw.data()), m_raw.size(), col, cell.text);
        return {};
    }
    case MDB_DATETIME:
    case MDB_DOUBLE:
        setNumber(cell, mdb_get_double(m_mdb->pg_buf, field.start));
        return {};
    case MDB_FLOAT:
        setNumber(cell, mdb_get_single(m_mdb->pg_buf, field.start));
        return {};
    case MDB_LONGINT:
        setNumber(cell, double(std::int32_t(mdb_get_int32(m_mdb->pg_buf, field.start))));
        return {};
    case MDB_INT:
        setNumber(cell, double(std::int16_t(mdb_get_int16(m_mdb->pg_buf, field.start))));
        return {};
    case MDB_BYTE:
        setNumber(cell, double(mdb_get_byte(m_mdb->pg_buf, field.start)));
        return {};
    default: {
        // Other types (money, numeric, ids) only ever matter as text here.
        char *text = mdb_col_to_string(m_mdb, m_mdb->pg_buf, field.start, col->col_type, field.siz);
        if (text) {
            cell.kind = JetWire::Text;
            cell.text.assign(text);
        }
        g_free(text);
        return {};
    }
    }
}

void MdbTableReader::setNumber(Cell &cell, double value)
{
    cell.kind = JetWire::Number;
    cell.number = value;
}

void MdbTableReader::writeRow()
{
    m_out.beginRow();
    for (const Cell &cell : m_cells) {
        if (cell.kind == JetWire::Text)
            m_out.text(cell.text);
        else if (cell.kind == JetWire::Number)
            m_out.number(cell.number);
        else
            m_out.null();
    }
}

// Reads the whole stored value of a memo field into m_raw. The field holds a
// 12-byte header (length and storage flags, then the first long-value row).
// mdb_ole_read copies one chunk (at most a page) into the column's bind
// buffer per call; the buffer is bound only here, so that fetching rows
// never makes libmdb convert memos on its own.
std::string MdbTableReader::readMemo(MdbColumn *col, const MdbField &field)
{
    m_raw.clear();
    if (field.siz < MDB_MEMO_OVERHEAD)
        return reason(JetWire::Reason::MemoHeader, {std::to_string(m_rowNumber), col->name});
    unsigned char header[MDB_MEMO_OVERHEAD];
    std::memcpy(header, m_mdb->pg_buf + field.start, MDB_MEMO_OVERHEAD);
    const std::uint32_t header0 = std::uint32_t(mdb_get_int32(header, 0));
    const std::uint32_t declared = header0 & MemoLengthMask;
    if (header0 & MemoInline) {
        m_raw.assign(reinterpret_cast<const char *>(m_mdb->pg_buf + field.start + MDB_MEMO_OVERHEAD),
                     std::size_t(field.siz - MDB_MEMO_OVERHEAD));
    } else {
        col->bind_ptr = m_chunk.data();
        std::size_t n = mdb_ole_read(m_mdb, col, header, m_chunk.size());
        m_raw.append(reinterpret_cast<const char *>(m_chunk.data()), n);
        // A damaged chain may loop: stop once more than the declared length came.
        while (n > 0 && m_raw.size() <= declared) {
            n = mdb_ole_read_next(m_mdb, col, header);
            m_raw.append(reinterpret_cast<const char *>(m_chunk.data()), n);
        }
        col->bind_ptr = nullptr;
    }
    // A chain's pieces add up to the length exactly; more means it loops or
    // runs into another value's pages.
    const bool chain = (header0 & (MemoInline | MemoSinglePage)) == 0;
    if (m_raw.size() < declared || (chain && m_raw.size() != declared))
        return reason(JetWire::Reason::MemoDamaged,
                      {std::to_string(m_rowNumber), col->name, std::to_string(m_raw.size()), std::to_string(declared)});
    m_raw.resize(declared);
    return {};
}

void MdbTableReader::appendText(const unsigned char *data, std::size_t size, const MdbColumn *col, std::string &out)
{
    const bool clean = m_jet3 ? JetText::appendCodePage(*m_codePage, data, size, out)
                              : JetText::appendJet4(data, size, out);
    // A diagnostic on standard error, for whoever runs the reader by hand:
    // the text is still loaded, with replacement characters.
    if (!clean)
        std::fprintf(stderr, "tamvex-jet-reader: warning: row %llu of table maindata, column %s holds malformed text\n",
                     static_cast<unsigned long long>(m_rowNumber), col->name);
}
