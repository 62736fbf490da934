#pragma once

#include <cstddef>
#include <cstdint>

// A property blob (the LvProp long value of an object's MSysObjects row):
//
//   0  4  "MR2\0" (Jet4 and ACE) or "KKD\0" (Jet3)
//   then chunks, each: 4 length of the whole chunk (these six bytes included), 2 chunk type,
//   then its content:
//     type 0x80  the name pool: entries of 2-byte byte count + name; properties name theirs by
//                position in the pool
//     type 0x00, 0x01, 0x02  one object's properties (Access writes 0x00 for the table itself and
//                0x01 for its columns): 4 length of this header, 2 byte count of the object's
//                name + the name (none for the table itself, else a column's name), then
//                entries: 2 length of the whole entry, 1 DDL flag, 1 data type (a column type
//                code), 2 position of the property's name in the pool, 2 byte count of the value
//                + the value (Yes/No: one byte, nonzero for Yes)
//
// Names are text as the database stores it: UCS-2 (possibly compressed) or, in Jet3, the code
// page.
namespace Jet::PropertyBlobFormat {

constexpr char kSignature[] = "MR2";  // with its terminating zero: the four bytes of Jet4 and ACE
constexpr char kJet3Signature[] = "KKD";
constexpr size_t kSignatureSize = 4;
constexpr size_t kChunkHeaderSize = 6;
constexpr size_t kBlockHeaderSize = 4;  // the length before an object's name
constexpr size_t kEntryHeaderSize = 8;
constexpr uint16_t kNamePoolChunk = 0x80;
constexpr uint16_t kTableChunk = 0x00;
constexpr uint16_t kColumnChunk = 0x01;
constexpr uint16_t kLastPropertyChunk = 0x02;

}  // namespace Jet::PropertyBlobFormat
