#pragma once

#include <QString>

// The program's one shared module. ConnectionString is empty until the start
// screen's load step sets it, always to makeConnectionString(ProgramFolder()).
namespace modTamvex {
extern QString ConnectionString;

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder +
// "/jst.mdb;Persist Security Info=False", the folder inserted unchanged.
QString makeConnectionString(const QString &folder);

// The file named by the Data Source part of a connection string: the text
// after "Data Source=" up to ";Persist Security Info=" (so that a folder may
// hold ";"), else up to the next ";", else to the end. Both keys are found
// regardless of letter case. Empty when the string has no Data Source.
QString dataSourceOf(const QString &connectionString);
}

// The product label: window captions and message box captions.
QString productLabel();
