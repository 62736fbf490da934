#pragma once

#include <string_view>

// What `quorvane-clean --help` prints.
namespace Clean {

inline constexpr std::string_view kHelpText =
    R"(quorvane-clean: cleans the text in fields of a Microsoft Access database (.mdb, .accdb),
with the same operations, prompts and checks as Quorvane's main window.

Usage:
  quorvane-clean FILE [--password P] --table T --field F [--field F ...]
                 --operation OP [--answer A | --find F --replace R | --number X] [--dry-run]
  quorvane-clean FILE [--password P] --tables
  quorvane-clean FILE [--password P] --fields TABLE
  quorvane-clean FILE [--password P] --preview TABLE FIELD
  quorvane-clean --operations
  quorvane-clean --help

Cleaning:
  --table T        the table whose fields are cleaned (names ignore case)
  --field F        a field to clean; give --field once for each field
  --operation OP   the operation: its number (1 to 27) or its exact text, see --operations
  --answer A       the text an operation asks for ("Replace With:" or
                   "Enter User-Defined Character(s):")
  --find F         "Find What:" of the operations that replace user-defined characters
  --replace R      "Replace With:" of those operations
  --number X       "Enter Number:" of the x character and x position operations (0 to 32767)
  --dry-run        open the database read-only and change nothing; print, tab-separated, the
                   old and the new value of each record that would change (at most 101 a field)
                   and how many would change
  An operation takes exactly the answers its prompts ask for; a missing or unusable answer is
  refused before the database is opened.

Listing:
  --tables         the user tables
  --fields TABLE   the table's fields, in column order
  --preview TABLE FIELD
                   the field's first values (at most 101), as stored, one a line
  --operations     the 27 operations with their numbers

Other options:
  --password P     the database password (none when not given)
  Options take their value as the next argument or after "=" (--table=Customers); "--" ends
  the options.

Output: results on standard output, one a line (a value's backslashes, tabs and line breaks
written as \\, \t, \n and \r); after a run, a line for each field with its records read,
changed, unchanged and refused. Progress goes to standard error, one line redrawn in place on a
terminal and a line at every tenth of a field otherwise, with the run's messages ("Done." at the
end) and a report for each record the database refuses.

Exit status: 0 when every record was handled, 1 when some were refused or an error was
reported during the run, 2 for a usage error (also no arguments at all) or a database that
cannot be opened.

Example: remove the spaces at the beginning of two fields, trying it first.
  quorvane-clean shop.mdb --table Customers --field Name --field City \
      --operation "Remove Extra Spaces at Beginning of Selected Field" --dry-run
  quorvane-clean shop.mdb --table Customers --field Name --field City --operation 3
  quorvane-clean shop.mdb --preview Customers Name
)";

}  // namespace Clean
