#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/Creator.h"
#include "jet/create/ColumnPlan.h"
#include "jet/schema/PropertyBlob.h"

// The system tables a new, empty Access database holds, and the rows that describe its objects.
//
// MSysObjects has a row per object: the containers "Tables", "Databases" and "Relationships"
// (type 3, ids 0x0F000001 to 0x0F000003 under the root 0x0F000000), the database object MSysDb
// (type 2, id 0x10000000), and each table (type 1; its id is the page of its definition), query
// (type 5) and linked table (type 6, with Database and ForeignName); queries and links are
// numbered from 0x80000000. Objects of the engine carry the flag 0x80000000.
//
// MSysQueries holds a saved query as rows of (ObjectId, Attribute, ...): attribute 0 opens it,
// 1 gives its kind in Flag (1: select), 3 its options in Flag (0: none), 5 an input table in
// Name1, 6 an output column in Expression, 255 closes it.
namespace Jet::Create {

constexpr uint8_t kSystemTableType = 0x53;
constexpr uint8_t kUserTableType = 0x4E;

constexpr int32_t kTablesContainerId = 0x0F000001;
constexpr int32_t kFirstQueryOrLinkId = INT32_MIN;  // 0x80000000

std::vector<ColumnSpec> MSysObjectsColumns();
std::vector<ColumnSpec> MSysACEsColumns();
std::vector<ColumnSpec> MSysQueriesColumns();
std::vector<ColumnSpec> MSysRelationshipsColumns();

// The MSysObjects rows of the containers and MSysDb.
std::vector<Row> ContainerObjectRows(double created);
// The MSysObjects row of a table whose definition starts at `definitionPage`, with its designer
// properties (LvProp) when it has any.
Row TableObjectRow(std::u16string_view name, uint32_t definitionPage, bool system, double created,
                   const std::vector<PropertyBlock>& properties = {});
Row QueryObjectRow(std::u16string_view name, int32_t id, double created);
Row LinkedTableObjectRow(const LinkedTableSpec& link, int32_t id, double created);

// The MSysQueries rows of a select query.
std::vector<Row> SelectQueryRows(const SelectQuerySpec& query, int32_t id);

}  // namespace Jet::Create
