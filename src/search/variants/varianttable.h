#pragma once

#include "failure.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <string>

// Which characters a character finds in a variant search. Read from table
// texts of one entry a line (anything after the first blank or tab, and a
// line starting with "#", is a comment):
//   "abc"   a group: each member finds every other one (not transitively:
//           two groups that share a member are not joined by it);
//   "s>tu"  s finds t and u and whatever they find; t and u find s;
//   "-abc"  a split: a and b, a and c do not find each other, whatever
//           another line says.
// The generated table comes first, a collection's own edits after it.
class VariantTable {
public:
    // The generated table and the collection maker's edits in ProgramFolder.
    static constexpr auto TableFile = "variant-classes.txt";
    static constexpr auto EditsFile = "variant-edits.txt";

    // Reads ProgramFolder's table (required) and edits file (optional), both
    // UTF-8. A missing or unreadable table, or a file that is not UTF-8, is a
    // Failure naming the file.
    static Result<VariantTable> load(const QString &programFolder);

    // Builds the table from texts in the order given; splits win over any
    // group or link, wherever they stand.
    static VariantTable fromTexts(const QStringList &texts);

    // The characters c finds: c first, then the others in code point order.
    // Just c for a character without variants.
    std::u32string membersOf(char32_t c) const;

    bool isEmpty() const { return m_members.isEmpty(); }

private:
    QHash<char32_t, std::u32string> m_members; // only characters with variants
};
