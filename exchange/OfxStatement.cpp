// OFX and QFX statements through libofx. The library reads the structure,
// the character sets and entities, the names, memos, check numbers, FITIDs
// and account numbers. Each transaction's amount and posting day are taken
// from the element's own text instead: libofx converts amounts through the
// C library's locale and accepts whatever atof accepts ("12.3x" becomes
// 12.30, "1,234.56" becomes 1.23), and it turns dates into instants, whose
// day then depends on the reader's time zone rather than the bank's.
#include "StatementImport.h"
#include "StatementText.h"

#include "Cp1252.h"
#include "Money.h"

#include <libofx/libofx.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string_view>

#include <unistd.h>

using namespace StatementText;

namespace
{
struct OfxTransaction
{
    std::string fitId, name, memo, checkNumber, account;
};

struct OfxRead
{
    std::vector<OfxTransaction> transactions;
    std::set<std::string> accounts;
    bool investment = false;
    int statements = 0;
};

int OnAccount(const OfxAccountData data, void* user)
{
    auto& read = *static_cast<OfxRead*>(user);
    if (data.account_type_valid &&
        (data.account_type == OfxAccountData::OFX_INVESTMENT || data.account_type == OfxAccountData::OFX_401K))
        read.investment = true;
    return 0;
}

std::string AccountNumber(const OfxAccountData* account)
{
    if (!account)
        return std::string();
    if (account->account_number_valid)
        return NormalizeSpaces(account->account_number);
    return account->account_id_valid ? NormalizeSpaces(account->account_id) : std::string();
}

int OnStatement(const OfxStatementData data, void* user)
{
    auto& read = *static_cast<OfxRead*>(user);
    ++read.statements;
    if (data.account_id_valid)
        read.accounts.insert(AccountNumber(data.account_ptr));
    return 0;
}

int OnTransaction(const OfxTransactionData data, void* user)
{
    auto& read = *static_cast<OfxRead*>(user);
    if (data.invtransactiontype_valid)
        read.investment = true;
    OfxTransaction t;
    if (data.fi_id_valid)
        t.fitId = NormalizeSpaces(data.fi_id);
    if (data.name_valid)
        t.name = data.name;
    if (data.memo_valid)
        t.memo = data.memo;
    if (data.check_number_valid)
        t.checkNumber = NormalizeSpaces(data.check_number);
    if (data.account_id_valid)
        t.account = AccountNumber(data.account_ptr);
    read.transactions.push_back(std::move(t));
    return 0;
}

// What the statement's own text says of one transaction.
struct RawTransaction
{
    int line = 0;
    bool hasAmount = false, hasDate = false;
    std::string amount, date, fitId;
};

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - ('a' - 'A'));
    return text;
}

// The text of element tag within [begin, end) of the upper-cased copy:
// up to the next tag or line break (SGML leaves elements unclosed).
bool ElementText(const std::string& bytes, const std::string& upper, size_t begin, size_t end, const char* tag,
                 std::string& text)
{
    // Only within the transaction: a search on to the end of the file for
    // a tag that transaction lacks would grow with the square of them.
    const std::string open = std::string("<") + tag + ">";
    end = std::min(end, upper.size());
    const size_t found = std::string_view(upper).substr(begin, end - begin).find(open);
    if (found == std::string_view::npos)
        return false;
    const size_t at = begin + found;
    const size_t from = at + open.size();
    const size_t to = std::min(bytes.find_first_of("<\r\n", from), end);
    text = NormalizeSpaces(bytes.substr(from, to - from));
    return true;
}

std::string DecodeEntities(std::string text)
{
    static const char* const kEntities[][2] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"},
                                               {"&amp;", "&"}};
    for (const auto& entity : kEntities)
        for (size_t at = text.find(entity[0]); at != std::string::npos; at = text.find(entity[0], at + 1))
            text.replace(at, std::strlen(entity[0]), entity[1]);
    return text;
}

std::vector<RawTransaction> RawTransactions(const std::string& bytes)
{
    std::vector<RawTransaction> found;
    const std::string upper = Upper(bytes);
    size_t at = upper.find("<STMTTRN>");
    int line = 1;
    size_t counted = 0;
    while (at != std::string::npos) {
        size_t next = upper.find("<STMTTRN>", at + 1);
        const size_t stop = std::min(next, upper.size());
        const size_t close = std::string_view(upper).substr(at, stop - at).find("</STMTTRN>");
        const size_t end = close == std::string_view::npos ? stop : at + close;
        for (; counted < at; ++counted)
            if (bytes[counted] == '\n')
                ++line;
        RawTransaction raw;
        raw.line = line;
        raw.hasAmount = ElementText(bytes, upper, at, end, "TRNAMT", raw.amount);
        raw.hasDate = ElementText(bytes, upper, at, end, "DTPOSTED", raw.date);
        if (ElementText(bytes, upper, at, end, "FITID", raw.fitId))
            raw.fitId = DecodeEntities(raw.fitId);
        found.push_back(std::move(raw));
        at = next;
    }
    return found;
}

// OFX amounts carry a point or, from some banks, a decimal comma; never
// grouping alone.
bool ParseOfxAmount(std::string text, double& value)
{
    if (text.find('.') == std::string::npos && std::count(text.begin(), text.end(), ',') == 1)
        text[text.find(',')] = '.';
    return ParseStatementAmount(text, value);
}

// "YYYYMMDD", then an optional time and zone, which do not move the day.
bool ParseOfxDate(const std::string& text, StatementEntry& entry)
{
    if (text.size() < 8 || text.find_first_not_of("0123456789") < 8)
        return false;
    if (text.size() > 8 && std::string("0123456789.[").find(text[8]) == std::string::npos)
        return false;
    return ParseStatementDate(text.substr(0, 8), DateOrder::YearMonthDay, entry.year, entry.month, entry.day);
}

// Whether the headers before the <OFX> element declare UTF-8: the
// ENCODING header of OFX 1.x, or the XML declaration's encoding of 2.x.
bool DeclaresUtf8(const std::string& upper)
{
    const size_t body = std::min(upper.find("<OFX>"), upper.size());
    for (size_t at = upper.find("ENCODING"); at < body; at = upper.find("ENCODING", at + 1)) {
        size_t i = at + 8;
        while (i < body && upper[i] == ' ')
            ++i;
        if (i >= body || (upper[i] != ':' && upper[i] != '='))
            continue;
        ++i;
        while (i < body && (upper[i] == ' ' || upper[i] == '"' || upper[i] == '\''))
            ++i;
        if (upper.compare(i, 5, "UTF-8") == 0 || upper.compare(i, 4, "UTF8") == 0)
            return true;
    }
    return false;
}

// The statement as UTF-8: as declared when the headers say UTF-8;
// otherwise as UTF-8 when the bytes are UTF-8, else as Windows-1252, the
// rule of the other statement readers. Banks often declare USASCII or
// CHARSET:1252 and send UTF-8 all the same.
std::string OfxAsUtf8(const std::string& bytes, const std::string& upper)
{
    if (DeclaresUtf8(upper) || FindNonUtf8(bytes) == std::string::npos)
        return bytes;
    return Cp1252ToUtf8(bytes);
}

// The UTF-8 text with an OFX 1.x header that says so, as libofx is to read
// it: libofx converts from the character set the header names (Windows-1252
// when none), and leaves the text of XML statements as it is.
std::string WithUtf8Header(const std::string& text)
{
    const std::string upper = Upper(text);
    const size_t body = upper.find('<');
    if (body == std::string::npos || upper.rfind("OFXHEADER", body) == std::string::npos)
        return text;
    for (size_t start = 0; start < body;) {
        const size_t end = std::min(text.find('\n', start), body);
        const size_t key = upper.find_first_not_of(" \t", start);
        if (key < end && upper.compare(key, 9, "ENCODING:") == 0) {
            size_t valueEnd = end;
            while (valueEnd > key + 9 && (text[valueEnd - 1] == '\r' || text[valueEnd - 1] == '\n'))
                --valueEnd;
            return text.substr(0, key + 9) + "UTF-8" + text.substr(valueEnd);
        }
        start = end + 1;
    }
    // No ENCODING header: one after the first line. The line numbers the
    // reader reports come from the statement itself, not from this copy.
    const size_t firstEnd = text.find('\n');
    return firstEnd < body ? text.substr(0, firstEnd + 1) + "ENCODING:UTF-8\r\n" + text.substr(firstEnd + 1)
                           : "ENCODING:UTF-8\r\n" + text;
}

// libofx reads files only: the statement goes through a private
// temporary file that is removed again.
class TemporaryFile
{
public:
    explicit TemporaryFile(const std::string& bytes)
    {
        const char* dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/quillet-ofx-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            m_problem = std::strerror(errno);
            return;
        }
        m_path = pattern;
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                m_problem = std::strerror(errno);
                break;
            }
            done += size_t(n);
        }
        if (::close(fd) != 0 && m_problem.empty())
            m_problem = std::strerror(errno);
    }
    ~TemporaryFile()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return m_path; }
    const std::string& Problem() const { return m_problem; }

private:
    std::string m_path, m_problem;
};

void Quiet()
{
    // libofx prints its progress and the parser's complaints on the
    // terminal; the reader reports what matters itself.
    ofx_PARSER_msg = ofx_DEBUG_msg = ofx_DEBUG1_msg = ofx_DEBUG2_msg = ofx_DEBUG3_msg = ofx_DEBUG4_msg =
        ofx_DEBUG5_msg = ofx_STATUS_msg = ofx_INFO_msg = ofx_WARNING_msg = ofx_ERROR_msg = 0;
    ofx_show_position = 0;
}

// How a transaction is named in a problem: its payee and its FITID.
std::string Named(const OfxTransaction& t)
{
    std::string name = NormalizeSpaces(t.name.empty() ? t.memo : t.name);
    std::string text = name.empty() ? std::string("the transaction") : "\"" + name + "\"";
    if (!t.fitId.empty())
        text += " (FITID " + t.fitId + ")";
    return text;
}

void Refuse(Statement& statement, const std::string& problem)
{
    statement.problems.push_back({1, problem});
    statement.fileProblems.push_back(problem);
}
}  // namespace

Statement ReadOfxStatement(const std::string& source)
{
    Statement statement;
    const std::string bytes = OfxAsUtf8(source, Upper(source));
    const TemporaryFile file(WithUtf8Header(bytes));
    if (!file.Problem().empty()) {
        Refuse(statement, "the statement could not be handed to the OFX reader (" + file.Problem() + ")");
        return statement;
    }

    Quiet();
    OfxRead read;
    LibofxContextPtr context = libofx_get_new_context();
    ofx_set_account_cb(context, OnAccount, &read);
    ofx_set_statement_cb(context, OnStatement, &read);
    ofx_set_transaction_cb(context, OnTransaction, &read);
    libofx_proc_file(context, file.Path().c_str(), OFX);
    libofx_free_context(context);

    const std::vector<RawTransaction> raw = RawTransactions(bytes);
    if (read.statements == 0 && read.transactions.empty()) {
        Refuse(statement, "the file is not an OFX statement, or it is damaged");
        return statement;
    }
    if (read.investment) {
        Refuse(statement, "the statement is of an investment account; only bank and credit card statements "
                          "can be imported");
        return statement;
    }
    read.accounts.erase(std::string());
    for (const OfxTransaction& t : read.transactions)
        if (!t.account.empty())
            read.accounts.insert(t.account);
    if (read.accounts.size() > 1) {
        Refuse(statement, "the statement holds the transactions of several accounts; download one account's");
        return statement;
    }
    if (read.accounts.size() == 1)
        statement.accountId = *read.accounts.begin();
    if (read.transactions.empty()) {
        Refuse(statement, "the statement holds no transactions");
        return statement;
    }
    // Each transaction libofx reports stands for one in the text, in order.
    bool matched = raw.size() == read.transactions.size();
    for (size_t i = 0; matched && i < raw.size(); ++i)
        matched = raw[i].fitId == read.transactions[i].fitId;
    if (!matched) {
        Refuse(statement, "the statement's transactions cannot be told apart; it is damaged");
        return statement;
    }

    for (size_t i = 0; i < raw.size(); ++i) {
        const OfxTransaction& t = read.transactions[i];
        StatementLine line;
        StatementEntry& entry = line.entry;
        entry.line = raw[i].line;
        entry.fitId = t.fitId;
        entry.checkNumber = LedgerText(t.checkNumber, false);
        // The memo often holds what the bank cut from the name.
        std::string description = NormalizeSpaces(t.name);
        const std::string memo = NormalizeSpaces(t.memo);
        if (description.empty())
            description = memo;
        else if (!memo.empty() && description.find(memo) == std::string::npos)
            description += " - " + memo;
        entry.description = LedgerText(description, true);

        if (!raw[i].hasDate) {
            line.problems.push_back(Named(t) + " has no date");
        } else if (!ParseOfxDate(raw[i].date, entry)) {
            line.writtenDate = raw[i].date;
            line.problems.push_back("the date \"" + raw[i].date + "\" of " + Named(t) + " cannot be read");
        }
        if (!raw[i].hasAmount)
            line.problems.push_back(Named(t) + " has no amount");
        else if (ParseOfxAmount(raw[i].amount, entry.amount))
            line.amountRead = true;
        else
            line.problems.push_back("the amount \"" + raw[i].amount + "\" of " + Named(t) + " is not an amount");
        if (entry.description.empty())
            line.problems.push_back(Named(t) + " has neither name nor memo");
        for (const std::string& p : line.problems)
            statement.problems.push_back({entry.line, p});
        statement.lines.push_back(std::move(line));
    }
    return statement;
}
