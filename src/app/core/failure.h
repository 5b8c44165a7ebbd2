#pragma once

#include <QString>

#include <optional>
#include <utility>

// A failed operation as the reader is told of it: a number and a description.
// Core code returns these; only windows turn them into a message box.
struct Failure {
    int number = 0;
    QString description;
};

// A failure as the reader sees it: its number and its description.
QString failureReport(const Failure &failure);

// The end of an operation the reader abandoned (FailureNumber::Interrupted):
// no fault of anything, and nothing a window reports.
Failure interruptedFailure();
bool isInterrupted(const Failure &failure);

// Failure numbers. The database ones follow the values the reference engine
// reports, so that a reader who knows them recognises them.
namespace FailureNumber {
inline constexpr int DatabaseOpen = -2147467259;   // unspecified engine error
inline constexpr int StatementSyntax = -2147217900; // statement rejected
inline constexpr int InvalidPattern = -2147217913;  // like pattern not readable
inline constexpr int JetRead = -2147217887;         // Jet file could not be read
inline constexpr int FileIo = 53;                   // file not found / not usable
inline constexpr int PathAccess = 75;               // path/file access error
inline constexpr int NoPrinter = 482;               // printer error
inline constexpr int BadCharacter = 5;              // invalid text for the code page
inline constexpr int Interrupted = 18;              // the reader abandoned the operation
}

// Either a value or a Failure. Small on purpose: the core never throws.
template <typename T>
class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T &value() const & { return *m_value; }
    T &value() & { return *m_value; }
    T &&value() && { return std::move(*m_value); }
    const T *operator->() const { return &*m_value; }
    T *operator->() { return &*m_value; }
    const Failure &failure() const { return m_failure; }

private:
    std::optional<T> m_value;
    Failure m_failure;
};

// A Result with no value: success or a Failure.
class Status {
public:
    Status() = default;
    Status(Failure failure) : m_failed(true), m_failure(std::move(failure)) {}
    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const Failure &failure() const { return m_failure; }

private:
    bool m_failed = false;
    Failure m_failure;
};
