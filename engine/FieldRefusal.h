#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/Error.h"

// The fields a run leaves alone as a whole: one message for the field, then the next field.
namespace Engine {

// Why a field of this data type (the record set's numbering) is never rewritten as text — binary
// data, OLE objects, replication ids — or nothing for a field the run may rewrite.
std::optional<std::u16string_view> NeverRewrittenReason(int fieldType);

// True when a write failed because the field cannot be changed at all (it belongs to an index,
// it is an AutoNumber, it holds attachments or several values, the database or the record set is
// read-only), not because of the one record.
bool IsFieldRefusal(const Main::Error& error);

// "The field 'F' of table 'T' is left unchanged: " followed by the reason.
std::u16string FieldLeftUnchangedMessage(std::u16string_view table, std::u16string_view field,
                                         std::u16string_view reason);

}  // namespace Engine
