#pragma once
// A checkbook as JSON: every record, the day-chart selection and the
// settings a file carries, with texts in UTF-8.

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <string>

class CQuilletDoc;

using Json = nlohmann::ordered_json;

// The document with the application-wide values it is stored with;
// version is the text the file carried.
Json CheckbookToJson(const CQuilletDoc& doc, const std::string& version);
// The same as CheckbookToJson(doc, version).dump(2), written to out as it
// is made, without the whole tree: a checkbook may hold millions of
// entries.
void WriteCheckbookJson(std::ostream& out, const CQuilletDoc& doc, const std::string& version);

// Fills a cleared document and sets the application-wide values from the
// JSON; version is the text the file is to carry. False, with one sentence
// in problem naming the offending field, when the JSON does not describe
// a whole checkbook: every field a file stores must be given.
bool CheckbookFromJson(const Json& json, CQuilletDoc& doc, std::string& version, std::string& problem);
