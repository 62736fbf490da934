#pragma once

#include <filesystem>

// The sample database shipped beside the program (Samples/sample.mdb): a small customer file
// whose text shows off every cleaning operation. The same bytes every time it is made. Every table
// has a primary key; Customers also has a unique index on its code and indexes on the name and
// the city, so that cleaning an indexed field can be shown.
namespace SampleMaker {

// The tables, as the sample holds them.
inline constexpr char16_t kCustomers[] = u"Customers";  // 240 rows
inline constexpr char16_t kProducts[] = u"Products";    // 36 rows
inline constexpr char16_t kContacts[] = u"Contact Log"; // 60 rows
inline constexpr char16_t kArchive[] = u"Archive";      // no rows

// Writes the sample to `file`, replacing it. Throws Jet::JetError.
void MakeSampleDatabase(const std::filesystem::path& file);

}  // namespace SampleMaker
