# The engine's write side: the row codec's encoder, value conversion, the writable page layer and
# the in-place update path.
target_sources(quorvane_jet PRIVATE
  ColumnTypeName.cpp
  RowEncoder.cpp
  TextEncoder.cpp
  TextToValue.cpp
  ValueEncoder.cpp
)
