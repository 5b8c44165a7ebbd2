#pragma once

// mdbtools.h opens an extern "C" block around its own glib include.
#include <glib.h>
#include <mdbtools.h>

#include <QStringDecoder>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class WireWriter;

// Reads table maindata of one Jet file with libmdb and writes its rows, in
// storage order, to a WireWriter. Text is decoded from the raw stored bytes
// (never through libmdb's own conversion, which loses characters outside
// the Basic Multilingual Plane and cuts long values).
class MdbTableReader {
public:
    explicit MdbTableReader(WireWriter &out);
    ~MdbTableReader();
    MdbTableReader(const MdbTableReader &) = delete;
    MdbTableReader &operator=(const MdbTableReader &) = delete;

    // Writes every row and the end record. Returns an empty text on success,
    // otherwise the reason record's text (jetwireformat.h; rows already
    // written stay written).
    std::string run(const char *path);

private:
    std::string open(const char *path);
    std::string findColumns();
    std::string readRows();
    // One value of the current row, kept until the whole row has been read.
    struct Cell {
        unsigned char kind = 0; // JetWire::Kind
        std::string text;
        double number = 0;
    };

    std::string readValue(MdbColumn *col, const MdbField &field, Cell &cell);
    static void setNumber(Cell &cell, double value);
    void writeRow();
    std::string readMemo(MdbColumn *col, const MdbField &field);
    void appendText(const unsigned char *data, std::size_t size, const MdbColumn *col, std::string &out);

    WireWriter &m_out;
    MdbHandle *m_mdb = nullptr;
    MdbTableDef *m_table = nullptr;
    bool m_jet3 = false;
    std::optional<QStringDecoder> m_codePage; // built in place: never moved
    MdbColumn *m_columns[4] = {};
    int m_columnIndex[4] = {};
    std::vector<MdbField> m_fields;
    std::vector<int> m_fieldOfColumn;
    std::vector<unsigned char> m_chunk;
    std::string m_raw;
    Cell m_cells[4];
    std::uint64_t m_rowNumber = 0;
};
