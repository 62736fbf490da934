#pragma once

#include <filesystem>
#include <string>
#include <vector>

// mdbtools' own library, used in-process where starting mdb-tables for every file would cost
// too much: when the test cases are listed, which every test process does.
namespace Oracle {

// The tables `mdb-tables -1` lists (user tables, catalogue order); empty when libmdb cannot
// read the file.
std::vector<std::string> LibMdbUserTables(const std::filesystem::path& file);

}  // namespace Oracle
