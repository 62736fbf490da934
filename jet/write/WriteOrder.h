#pragma once

// The write-order rules: the order in which the writer puts pages into the file, so that a
// process killed between any two writes leaves the file readable by Access and mdbtools and every
// row with its old value or its new one. The writers cite these rules by number ("write-order
// rule 3") instead of restating them; a change to the order starts here.
//
//  1. Pages reach the file whole and in the order they are written. PageWriter holds the last
//     page written back until another page is written or Flush is called, so that consecutive
//     writes of one page reach the file once; the file thus always holds the pages as they were
//     after one of the writes.
//
//  2. A new page is written in full, and marked used in the global map, before anything points to
//     it; usage map pages a map grows into are written before the map row names them. A page is
//     given back (out of its owner's maps, free in the global map) only once nothing points to it.
//
//  3. Everything that can be refused is refused before the first write, the usage maps' reach
//     for the pages the change may add included: a refused change leaves the file byte for byte
//     as it was.
//
//  4. One update of a row writes, in this order:
//       a. new long-value rows and pages,
//       b. the row moved to another page (flagged deleted there, so that a scan does not return
//          it twice), with the pages and maps of a new page,
//       c. the row's own slot: the rebuilt row, or the pointer to where it moved (and then, for a
//          row moved before, its previous new home emptied),
//       d. the entries of each index whose key changed, index by index (the pages of one index in
//          the order of rule 8),
//       e. the old long value's rows deleted and its emptied pages released.
//     A kill after c leaves indexes whose entry for the row still holds the old key (or part of
//     an index change): the first update of the table in the next session finds and mends that
//     before it writes (IndexRepair.h).
//
//  5. A kill between 4b and 4c, or within 4c, leaves a copy of the row that nothing points to. No
//     order of those writes closes that window: the copy and the pointer lie on two pages, and a
//     pointer written first would name a row that is not there yet. So the first update of each
//     table in a session removes such copies first (OrphanCopyRemover.h).
//
//  6. Orphan copies go a page at a time: each page that holds them is written once, its copies
//     turned into deleted slots of no bytes (the page's free-space count grows by their size), and
//     then put into the table's free-space map if it is not there yet. No row points to a copy, so
//     a kill at any point leaves every row as it was: pages not yet written keep their copies for
//     the next session to remove, a page written but not yet in the free-space map only keeps its
//     room from new rows.
//
//  7. A global map that does not reach a page it must mark used grows into usage map pages past
//     the end of the file, so that it is complete before anything points to them:
//       a. each map page the map lacks up to the new end of the file, written in full: a page
//          marked free if it lies past that end or the inline map recorded it free, else used,
//       b. the new map pages marked used where a map page that already exists covers them,
//       c. the row on page 1, now indirect or naming its new map pages.
//     A kill before 7c leaves the old map and a few unused pages at the end of the file.
//
//  8. One change of an index's entries (IndexWriter) writes, in this order:
//       a. each new index page: first as an empty leaf, which takes its page number, is marked
//          used in the global map and recorded in the index's owned-pages map, then whole,
//       b. the changed leaf pages, with their neighbours whose links change,
//       c. the changed node pages a level at a time from the lowest up, the root last (the root
//          stays on its page: a root that outgrows its page moves its entries down into new
//          pages),
//       d. the pages the change left empty, taken out of the index's map and marked free.
//     Everything that can refuse the change (an old entry missing, a new one present already, a
//     malformed page) refuses it before 8a. A kill within 8a leaves pages the tree does not
//     reach; a kill within 8b or 8c leaves the tree part changed, which the next session mends
//     before its first update of the table, as for a kill after 4c (an index can be built again
//     from the table's rows: IndexBuilder.h).
