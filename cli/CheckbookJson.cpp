#include "CheckbookJson.h"

#include "AppValues.h"
#include "Cp1252.h"
#include "PasswordHash.h"
#include "QuilletDoc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>

namespace
{
// JSON has no NaN or infinity; spell them so that they survive a pack.
Json Number(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    return value;
}

Json Texts(const std::string& bytes)
{
    return Cp1252ToUtf8(bytes);
}

// Reads fields of one JSON object. Every field a checkbook stores must be
// there: a missing one is a problem, never a silent default, and so is a
// field of the wrong kind.
class FieldReader
{
public:
    FieldReader(const Json& object, std::string where, std::string& problem)
        : m_object(object), m_where(std::move(where)), m_problem(problem)
    {
    }

    bool Text(const char* key, std::string& out)
    {
        const Json* value = Find(key);
        if (!value)
            return Missing(key);
        if (!value->is_string())
            return Fail(key, "must be a text");
        std::string bad;
        if (!Utf8ToCp1252(value->get_ref<const std::string&>(), out, bad))
            return Fail(key, "holds " + bad + ", which a checkbook cannot store");
        return true;
    }

    bool Double(const char* key, double& out)
    {
        const Json* value = Find(key);
        if (!value)
            return Missing(key);
        if (value->is_number()) {
            out = value->get<double>();
            return true;
        }
        if (value->is_string()) {
            const std::string& s = value->get_ref<const std::string&>();
            if (s == "NaN") { out = std::numeric_limits<double>::quiet_NaN(); return true; }
            if (s == "Infinity") { out = std::numeric_limits<double>::infinity(); return true; }
            if (s == "-Infinity") { out = -std::numeric_limits<double>::infinity(); return true; }
        }
        return Fail(key, "must be a number");
    }

    bool Int32(const char* key, int& out)
    {
        const Json* value = Find(key);
        if (!value)
            return Missing(key);
        if (value->is_number_unsigned() && value->get<uint64_t>() <= uint64_t(INT32_MAX)) {
            out = int(value->get<uint64_t>());
            return true;
        }
        if (value->is_number_integer() && !value->is_number_unsigned()) {
            const int64_t v = value->get<int64_t>();
            if (v >= INT32_MIN && v <= INT32_MAX) {
                out = int(v);
                return true;
            }
        }
        return Fail(key, "must be a whole number from -2147483648 to 2147483647");
    }

    bool Date(const char* key, CTime& out)
    {
        int seconds = out.GetTime();
        if (!Int32(key, seconds))
            return false;
        out = CTime(int64_t(seconds));
        return true;
    }

    bool Flag(const char* key, int& out)
    {
        const Json* value = Find(key);
        if (!value)
            return Missing(key);
        if (value->is_boolean()) {
            out = value->get<bool>() ? 1 : 0;
            return true;
        }
        return Int32(key, out);
    }

    // The array under key, or null where null is allowed; ok false when
    // missing or not an array.
    const Json* Array(const char* key, bool& ok)
    {
        const Json* value = Find(key);
        ok = value ? true : Missing(key);
        if (value && !value->is_array() && !(value->is_null() && AllowsNull(key))) {
            ok = Fail(key, "must be a list");
            return nullptr;
        }
        return value && value->is_array() ? value : nullptr;
    }

    const Json* Object(const char* key, bool& ok)
    {
        const Json* value = Find(key);
        ok = value ? true : Missing(key);
        if (value && !value->is_object()) {
            ok = Fail(key, "must be an object");
            return nullptr;
        }
        return value;
    }

    std::string Where(const char* key) const { return m_where.empty() ? key : m_where + "." + key; }

    bool Fail(const char* key, const std::string& what)
    {
        m_problem = "\"" + Where(key) + "\" " + what;
        return false;
    }
    bool Missing(const char* key) { return Fail(key, "is missing"); }

private:
    static bool AllowsNull(const char* key) { return std::string(key) == "dayChart"; }

    const Json* Find(const char* key) const
    {
        const auto it = m_object.find(key);
        return it == m_object.end() ? nullptr : &*it;
    }

    const Json& m_object;
    std::string m_where;
    std::string& m_problem;
};

// Each element of a list must be an object; calls read on each.
template <typename Read>
bool ForEachObject(const Json& list, const std::string& where, std::string& problem, Read read)
{
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string at = where + "[" + std::to_string(i) + "]";
        if (!list[i].is_object()) {
            problem = "\"" + at + "\" must be an object";
            return false;
        }
        FieldReader fields(list[i], at, problem);
        if (!read(fields, list[i], at))
            return false;
    }
    return true;
}

bool ReadTransaction(FieldReader& f, CTransaction& t)
{
    return f.Date("date", t.m_date) && f.Text("checkNumber", t.m_strCheckNumber) &&
           f.Text("description", t.m_strDescription) && f.Text("category", t.m_strCategory) &&
           f.Double("amount", t.m_dAmount) && f.Flag("void", t.m_bVoid) && f.Int32("flag", t.m_nFlag) &&
           f.Flag("cleared", t.m_bCleared) && f.Double("fee", t.m_dFee);
}

bool ReadRecurring(FieldReader& f, CRecurringTransaction& r)
{
    return f.Text("account", r.m_strAccount) && f.Double("amount", r.m_dAmount) &&
           f.Date("nextDate", r.m_nextDate) && f.Text("description", r.m_strDescription) &&
           f.Text("category", r.m_strCategory) && f.Text("frequency", r.m_strFrequency) &&
           f.Text("periods", r.m_strPeriods) && f.Int32("periodsDone", r.m_nPeriodsDone) &&
           f.Int32("flag", r.m_nFlag);
}
}  // namespace

namespace
{
// An entry's object: its keys are made the first time, and a reused
// object only takes the new values.
void SetEntryJson(Json& e, const CTransaction& t)
{
    e["date"] = t.m_date.GetTime();
    e["checkNumber"] = Texts(t.m_strCheckNumber);
    e["description"] = Texts(t.m_strDescription);
    e["category"] = Texts(t.m_strCategory);
    e["amount"] = Number(t.m_dAmount);
    e["void"] = t.m_bVoid;
    e["flag"] = t.m_nFlag;
    e["cleared"] = t.m_bCleared != 0;
    e["fee"] = Number(t.m_dFee);
}

// Everything but the entries: each account's list of them left empty.
Json WithoutEntries(const CQuilletDoc& doc, const std::string& version)
{
    Json root = Json::object();
    root["version"] = Texts(version);
    root["passwordHash"] = Texts(g_strPasswordHash);

    Json accounts = Json::array();
    for (const auto& account : doc.m_accounts) {
        Json a = Json::object();
        a["name"] = Texts(account->m_strName);
        a["number"] = Texts(account->m_strNumber);
        a["owner"] = Texts(account->m_strOwner);
        a["taxId"] = Texts(account->m_strTaxId);
        a["openingBalance"] = Number(account->m_dOpeningBalance);
        a["balance"] = Number(account->m_dBalance);
        a["clearedBalance"] = Number(account->m_dClearedBalance);
        a["transactions"] = Json::array();
        accounts.push_back(std::move(a));
    }
    root["accounts"] = std::move(accounts);

    Json recurring = Json::array();
    for (const auto& r : doc.m_recurring) {
        Json e = Json::object();
        e["account"] = Texts(r->m_strAccount);
        e["amount"] = Number(r->m_dAmount);
        e["nextDate"] = r->m_nextDate.GetTime();
        e["description"] = Texts(r->m_strDescription);
        e["category"] = Texts(r->m_strCategory);
        e["frequency"] = Texts(r->m_strFrequency);
        e["periods"] = Texts(r->m_strPeriods);
        e["periodsDone"] = r->m_nPeriodsDone;
        e["flag"] = r->m_nFlag;
        recurring.push_back(std::move(e));
    }
    root["recurring"] = std::move(recurring);

    Json categories = Json::array();
    for (const auto& c : doc.m_pCategoryList->m_categories)
        categories.push_back(Json{{"name", Texts(c->m_strName)}, {"flag", c->m_nFlag}});
    root["categories"] = std::move(categories);

    if (doc.IsDayChartSet()) {
        Json names = Json::array();
        for (const std::string& name : doc.m_dayChartAccounts)
            names.push_back(Texts(name));
        root["dayChart"] = std::move(names);
    } else {
        root["dayChart"] = nullptr;
    }

    root["settings"] = Json{{"categoryAccount", Texts(g_strCategoryAccount)},
                            {"numCategories", g_nNumCategories},
                            {"startCategories", g_nStartCategories},
                            {"lookback", g_nLookback},
                            {"upcomingDays", g_nUpcomingDays}};
    return root;
}
}  // namespace

Json CheckbookToJson(const CQuilletDoc& doc, const std::string& version)
{
    Json root = WithoutEntries(doc, version);
    Json& accounts = root["accounts"];
    for (size_t i = 0; i < doc.m_accounts.size(); ++i) {
        Json& entries = accounts[i]["transactions"];
        for (const auto& t : doc.m_accounts[i]->m_transactions) {
            Json e = Json::object();
            SetEntryJson(e, *t);
            entries.push_back(std::move(e));
        }
    }
    return root;
}

void WriteCheckbookJson(std::ostream& out, const CQuilletDoc& doc, const std::string& version)
{
    // The document without its entries, then each account's entries made
    // and written one at a time where its empty list stands: a text value
    // cannot hide that place, as its quotes would be escaped.
    const std::string outline = WithoutEntries(doc, version).dump(2);
    const std::string place = "\"transactions\": []";
    const std::string indent(8, ' ');
    std::string text;
    Json e = Json::object();
    size_t from = 0;
    for (const auto& account : doc.m_accounts) {
        const size_t at = outline.find(place, from) + place.size() - 2;
        text.append(outline, from, at - from);
        from = at + 2;
        if (account->m_transactions.empty()) {
            text += "[]";
            continue;
        }
        const char* separator = "[\n";
        for (const auto& t : account->m_transactions) {
            text += separator;
            separator = ",\n";
            SetEntryJson(e, *t);
            const std::string lines = e.dump(2);
            for (size_t line = 0; line < lines.size();) {
                const size_t end = std::min(lines.find('\n', line), lines.size() - 1) + 1;
                text += indent;
                text.append(lines, line, end - line);
                line = end;
            }
            if (text.size() > (1 << 16)) {
                out << text;
                text.clear();
            }
        }
        text += "\n      ]";
    }
    text.append(outline, from, std::string::npos);
    out << text;
}


bool CheckbookFromJson(const Json& json, CQuilletDoc& doc, std::string& version, std::string& problem)
{
    doc.DeleteContents();
    if (!json.is_object()) {
        problem = "the top level must be an object";
        return false;
    }
    FieldReader top(json, "", problem);
    bool ok = true;

    std::string passwordHash;
    if (!top.Text("version", version) || !top.Text("passwordHash", passwordHash))
        return false;
    // A hash no password can give would make a file nobody can open.
    if (!passwordHash.empty() && !IsPasswordHash(passwordHash))
        return top.Fail("passwordHash", "is not a traditional crypt hash: 13 characters of \"./0-9A-Za-z\" as a "
                                        "password gives them, or empty for none");

    if (const Json* accounts = top.Array("accounts", ok)) {
        ok = ForEachObject(*accounts, "accounts", problem, [&](FieldReader& f, const Json&, const std::string& at) {
            auto account = std::make_unique<CAccount>();
            if (!(f.Text("name", account->m_strName) && f.Text("number", account->m_strNumber) &&
                  f.Text("owner", account->m_strOwner) && f.Text("taxId", account->m_strTaxId) &&
                  f.Double("openingBalance", account->m_dOpeningBalance)))
                return false;
            bool listOk = true;
            if (const Json* entries = f.Array("transactions", listOk)) {
                listOk = ForEachObject(*entries, at + ".transactions", problem,
                                       [&](FieldReader& g, const Json&, const std::string&) {
                                           auto t = std::make_unique<CTransaction>();
                                           if (!ReadTransaction(g, *t))
                                               return false;
                                           account->m_transactions.push_back(std::move(t));
                                           return true;
                                       });
            }
            account->RecomputeBalances(0);
            doc.m_accounts.push_back(std::move(account));
            return listOk;
        });
    }
    if (!ok)
        return false;

    if (const Json* recurring = top.Array("recurring", ok)) {
        ok = ForEachObject(*recurring, "recurring", problem, [&](FieldReader& f, const Json&, const std::string&) {
            auto r = std::make_unique<CRecurringTransaction>();
            if (!ReadRecurring(f, *r))
                return false;
            doc.m_recurring.push_back(std::move(r));
            return true;
        });
    }
    if (!ok)
        return false;

    if (const Json* categories = top.Array("categories", ok)) {
        std::vector<CCategory> read;
        ok = ForEachObject(*categories, "categories", problem, [&](FieldReader& f, const Json&, const std::string&) {
            std::string name;
            int flag = 0;
            if (!(f.Text("name", name) && f.Int32("flag", flag)))
                return false;
            read.emplace_back(std::move(name), flag);
            return true;
        });
        doc.m_pCategoryList->SetCategories(std::move(read));
    }
    if (!ok)
        return false;

    if (const Json* names = top.Array("dayChart", ok)) {
        if (names->size() > 5) {
            problem = "\"dayChart\" must hold at most five names";
            return false;
        }
        doc.ClearDayChartAccounts();
        for (size_t i = 0; i < names->size(); ++i) {
            std::string name, bad;
            if (!(*names)[i].is_string()) {
                problem = "\"dayChart[" + std::to_string(i) + "]\" must be a text";
                return false;
            }
            if (!Utf8ToCp1252((*names)[i].get_ref<const std::string&>(), name, bad)) {
                problem = "\"dayChart[" + std::to_string(i) + "]\" holds " + bad + ", which a checkbook cannot store";
                return false;
            }
            doc.SetDayChartAccount(int(i), name);
        }
    }
    if (!ok)
        return false;

    std::string categoryAccount = AppValues::kShowAll;
    int numCategories = AppValues::kDefaultNumCategories;
    int startCategories = AppValues::kDefaultStartCategories;
    int lookback = AppValues::kDefaultLookback;
    int upcomingDays = AppValues::kDefaultUpcomingDays;
    if (const Json* settings = top.Object("settings", ok)) {
        FieldReader f(*settings, "settings", problem);
        if (!(f.Text("categoryAccount", categoryAccount) && f.Int32("numCategories", numCategories) &&
              f.Int32("startCategories", startCategories) && f.Int32("lookback", lookback) &&
              f.Int32("upcomingDays", upcomingDays)))
            return false;
    }
    if (!ok)
        return false;

    g_strPasswordHash = passwordHash;
    g_strCategoryAccount = categoryAccount;
    g_nNumCategories = numCategories;
    g_nStartCategories = startCategories;
    g_nLookback = lookback;
    g_nUpcomingDays = upcomingDays;
    return true;
}
