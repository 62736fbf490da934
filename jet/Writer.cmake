# The engine's write side: the row codec's encoder, value conversion, the writable page layer and
# the in-place update path.
target_sources(quorvane_jet PRIVATE
  ColumnTypeName.cpp
  DataPageEditor.cpp
  LongValueStore.cpp
  OrphanCopyFinder.cpp
  OrphanCopyRemover.cpp
  PageWriter.cpp
  RowEncoder.cpp
  RowUpdater.cpp
  TextEncoder.cpp
  TextToValue.cpp
  UsageMapEditor.cpp
  ValueEncoder.cpp
  WritableFile.cpp
)
