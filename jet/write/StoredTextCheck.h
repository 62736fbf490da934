#pragma once

#include "jet/file/FormatLayout.h"
#include "jet/file/PageFile.h"
#include "jet/row/RowDecoder.h"
#include "jet/text/CodePageText.h"

// Keeps a change from rewriting Jet3 text whose bytes its code page does not read faithfully.
namespace Jet {

// Refuses to change a Text or Memo value of a Jet3 row whose stored bytes would not come back from
// the text they read as: bytes the code page does not define (read as U+FFFD), or a character the
// code page stores in two ways. Writing the changed text would turn those bytes into others
// without a word. Throws JetError kNotSupported with the cause kRecordValue; other columns, Null
// values and Jet4/ACE rows pass.
void CheckStoredTextKept(const PageFile& pages, const FormatLayout& format, const CodePageText& text,
                         const Column& column, const Cell& cell);

}  // namespace Jet
