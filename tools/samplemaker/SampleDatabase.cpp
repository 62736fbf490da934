#include "tools/samplemaker/SampleDatabase.h"

#include <array>
#include <string>

#include "common/DateTime.h"
#include "jet/Creator.h"

namespace SampleMaker {
namespace {

using Jet::FieldType;
using Main::Value;

constexpr double kMadeOn = 44439.5;  // 2021-08-31 12:00, the date every object carries

// People, written the way they reach a database: doubled, leading and trailing blanks, tabs,
// line breaks, apostrophes, accents, other scripts, digits inside words.
constexpr std::array kNames = {
    u"Mary O'Brien",        u"  John Smith",          u"Zoë Müller  ",         u"José  Álvarez",
    u"Ingrid\tSvensson",    u"Li Wei (李伟)",          u"Олег Петров",          u"Anne-Marie D'Arcy",
    u"Peter  van der Berg", u"Sam2 Jones",            u"Chloé Lefèvre",        u"Γιώργος Παπαδόπουλος",
    u"Tom O'Neill ",        u"Fatima\r\nAl-Sayed",    u"Ólafur Þórsson",       u"R2D2 Robotics Ltd",
    u"Nguyễn Văn An",       u"Kate   Brown",          u"Seán Ó Briain",        u"Hans-Jürgen Groß"};
constexpr std::array kCompanies = {
    u"Acme Ltd.",  u"  Globex Corporation", u"Initech  ",     u"Umbrella\tHoldings", u"Stark & Sons",
    u"Wayne's Enterprises", u"Müller GmbH", u"Café Rouge",    u"東京 Trading",        u"Vandelay Industries"};
constexpr std::array kStreets = {
    u"12 St. John's Wood Road", u"  7 Baker Street", u"221B Baker St ", u"5 Rue de l'Église",
    u"Königstraße 14",          u"3\tHigh Street",  u"Flat 4,\r\n18 Mill Lane", u"1600 Amphitheatre Pkwy"};
constexpr std::array kCities = {u"London", u"  Paris", u"Berlin ", u"New  York", u"Zürich", u"Dublin", u"Kraków",
                                u"São Paulo"};
constexpr std::array kPhones = {u"+44 20 7946 0958", u"(555) 123-4567", u" 0171-946-0123 ", u"+49 (0)30 1234567",
                                u"555.987.6543",     u"+1-202-555-0147", u"020  7946  0000", u"tel:+33142685300"};
constexpr std::array kNoteStarts = {
    u"Prefers contact by e-mail.", u"  Called twice about the invoice;  promised a reply.",
    u"VIP customer\tsince 2004.",  u"Ask for Mr. O'Hara at reception.\r\nDeliveries after 10am only.",
    u"Ref: key=value; status=open; owner=JS", u"Überweisung erhalten — danke!"};

constexpr std::array kProductNames = {
    u"Widget",       u"  Gadget Pro", u"Sprocket 3000", u"Thingamajig ", u"Doohickey\tDeluxe", u"Gizmo (Mk II)",
    u"Café Crème",   u"O'Malley's Tea", u"Ёлка Decor",  u"Cable  2m",    u"USB-C Hub",        u"Lamp\r\nShade"};
constexpr std::array kCodeStyles = {u"ID-", u"SKU=", u"key=", u"REF#", u"code: "};

std::u16string Number(int64_t value, size_t width) {
  std::u16string digits = Main::FormatInteger(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), u'0');
  return digits;
}

Value Text(std::u16string text) { return Value::Text(std::move(text)); }

Value Day(int year, int month, int day, int hour = 0, int minute = 0) {
  return Value::Date(Main::DateTime{Main::OleDateFromCivil({year, month, day, hour, minute, 0})});
}

// A long note: several paragraphs, with the blanks and breaks a pasted text brings.
std::u16string LongNote(size_t n) {
  std::u16string note = kNoteStarts[n % kNoteStarts.size()];
  const size_t paragraphs = 3 + n % 9;
  for (size_t p = 0; p < paragraphs; ++p) {
    note += u"\r\n\r\nVisit " + Number(static_cast<int64_t>(p + 1), 1) +
            u":  the customer asked about order ID-" + Number(static_cast<int64_t>(1000 + 37 * n + p), 5) +
            u" and the  delivery  to St. John's Wood.\tFollow-up set; key=followup" +
            Number(static_cast<int64_t>(p), 2) + u".";
  }
  return note;
}

void AddCustomers(Jet::DatabaseCreator& db) {
  db.AddTable({kCustomers,
               {{u"CustomerID", FieldType::AutoNumber},
                {u"FullName", FieldType::Text, 80},
                {u"Company", FieldType::Text, 80},
                {u"Address", FieldType::Text, 120},
                {u"City", FieldType::Text, 50},
                {u"Phone", FieldType::Text, 30},
                {u"CustomerCode", FieldType::Text, 40},
                {u"Notes", FieldType::Memo},
                {u"Joined", FieldType::DateTime},
                {u"Active", FieldType::YesNo},
                {u"CreditLimit", FieldType::Currency}},
               // As a real customer file has them: the code unique, name and city looked up by.
               {{u"PrimaryKey", {{u"CustomerID"}}, true},
                {u"CustomerCode", {{u"CustomerCode"}}, false, true},
                {u"FullName", {{u"FullName"}}},
                {u"City", {{u"City"}}}}});
  db.InsertGenerated(kCustomers, 240, [](size_t n, Jet::Row& row) {
    const bool sparse = n % 11 == 5;  // some rows leave fields empty
    row.assign({
        Value(),
        Text(kNames[n % kNames.size()]),
        sparse ? Value() : Text(kCompanies[(n * 3) % kCompanies.size()]),
        Text(kStreets[(n * 5) % kStreets.size()]),
        Text(kCities[(n * 7) % kCities.size()]),
        sparse ? Value() : Text(kPhones[n % kPhones.size()]),
        Text(std::u16string(kCodeStyles[n % kCodeStyles.size()]) + Number(static_cast<int64_t>(n + 1), 5)),
        n % 4 == 3 ? Value() : Text(n % 4 == 0 ? LongNote(n) : std::u16string(kNoteStarts[n % kNoteStarts.size()])),
        sparse ? Value() : Day(2001 + static_cast<int>(n % 20), 1 + static_cast<int>(n % 12), 1 + static_cast<int>(n % 28),
                               static_cast<int>(n % 24), static_cast<int>((n * 13) % 60)),
        Value::Boolean(n % 3 != 0),
        Value::Money({static_cast<int64_t>((n % 50) * 2500000)}),
    });
  });
}

void AddProducts(Jet::DatabaseCreator& db) {
  db.AddTable({kProducts,
               {{u"ProductID", FieldType::AutoNumber},
                {u"ProductName", FieldType::Text, 60},
                {u"Code", FieldType::Text, 30},
                {u"Description", FieldType::Memo},
                {u"Price", FieldType::Currency},
                {u"InStock", FieldType::Integer},
                {u"Updated", FieldType::DateTime}},
               {{u"PrimaryKey", {{u"ProductID"}}, true}}});
  db.InsertGenerated(kProducts, 36, [](size_t n, Jet::Row& row) {
    std::u16string description = u"  " + std::u16string(kProductNames[n % kProductNames.size()]) +
                                 u" — made in batch B" + Number(static_cast<int64_t>(n * 17), 4) + u".  ";
    for (size_t line = 0; line < n % 6; ++line)
      description += u"\r\nSpec " + Number(static_cast<int64_t>(line + 1), 1) + u": size=" +
                     Number(static_cast<int64_t>(10 + line * n), 2) + u"cm;\tcolour=grey";
    row.assign({
        Value(),
        Text(std::u16string(kProductNames[n % kProductNames.size()]) + (n >= kProductNames.size() ? u" v" + Number(static_cast<int64_t>(n / kProductNames.size() + 1), 1) : u"")),
        Text(std::u16string(kCodeStyles[(n + 2) % kCodeStyles.size()]) + Number(static_cast<int64_t>(123 + n * 7), 5)),
        n % 9 == 8 ? Value() : Text(description),
        Value::Money({static_cast<int64_t>(9990 + n * 12345)}),
        Value::Integer(static_cast<int64_t>((n * 37) % 500)),
        Day(2020, 1 + static_cast<int>(n % 12), 1 + static_cast<int>(n % 27), 9, static_cast<int>(n % 60)),
    });
  });
}

void AddContactLog(Jet::DatabaseCreator& db) {
  db.AddTable({kContacts,
               {{u"EntryID", FieldType::AutoNumber},
                {u"CustomerID", FieldType::LongInteger},
                {u"Contacted", FieldType::DateTime},
                {u"Channel", FieldType::Text, 20},
                {u"Summary", FieldType::Text, 255}},
               {{u"PrimaryKey", {{u"EntryID"}}, true}, {u"CustomerID", {{u"CustomerID"}}}}});
  constexpr std::array kChannels = {u"Phone", u"e-mail", u" Letter", u"Visit  "};
  constexpr std::array kSummaries = {
      u"Left a message:  call back on (555) 123-4567.",  u"Confirmed address\r\n12 St. John's Wood Road",
      u"Asked for invoice ID-00042\tand ID-00043.",      u"Spoke to Mrs. O'Connor; all fine.",
      u"   Complained about late delivery   ",          u"Status=closed; ticket=T-0099"};
  db.InsertGenerated(kContacts, 60, [&](size_t n, Jet::Row& row) {
    row.assign({
        Value(),
        Value::Integer(static_cast<int64_t>(1 + (n * 7) % 240)),
        Day(2021, 1 + static_cast<int>(n % 8), 1 + static_cast<int>(n % 28), 8 + static_cast<int>(n % 10), 30),
        n % 13 == 12 ? Value() : Text(kChannels[n % kChannels.size()]),
        Text(kSummaries[n % kSummaries.size()]),
    });
  });
}

void AddArchive(Jet::DatabaseCreator& db) {
  db.AddTable({kArchive,
               {{u"ArchiveID", FieldType::AutoNumber},
                {u"FullName", FieldType::Text, 80},
                {u"Reason", FieldType::Memo},
                {u"Archived", FieldType::DateTime}},
               {{u"PrimaryKey", {{u"ArchiveID"}}, true}}});
}

}  // namespace

void MakeSampleDatabase(const std::filesystem::path& file) {
  auto db = Jet::CreateDatabase(file, Jet::FileFormat::Jet4, Jet::CreateOptions{u"", kMadeOn});
  AddCustomers(db);
  AddProducts(db);
  AddContactLog(db);
  AddArchive(db);
  db.AddSelectQuery({u"Customer Phone List", kCustomers, {u"FullName", u"Phone"}});
  db.Close();
}

}  // namespace SampleMaker
