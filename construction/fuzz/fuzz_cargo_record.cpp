// A storage building's cargo record. The check decides alone whether it is
// read; a record read back saves as itself with names cut to 50 characters.
#include <cstdint>
#include <cstdlib>

#include "base/ByteReader.h"
#include "construction/BuildingInstances.h"
#include "engine/files/SerializeRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteReader in(data, size);
  size_t bytes = 0;
  if (!StorageInstance::CheckCargo(in, &bytes)) return 0;
  if (bytes > size) std::abort();
  StorageInstance storage;
  storage.LoadCargo(in);
  if (!in.Ok() || in.Position() != bytes) std::abort();
  for (const CargoSpace& entry : storage.cargo)
    if (entry.owner.size() > kCargoOwnerMax) std::abort();
  SaveRecordWriter out;
  storage.SaveCargo(out);
  StorageInstance again;
  ByteReader back(out.Data(), out.Size());
  size_t n = 0;
  if (!StorageInstance::CheckCargo(back, &n) || n != out.Size()) std::abort();
  again.LoadCargo(back);
  if (again.cargo.size() != storage.cargo.size() || again.capacity != storage.capacity) std::abort();
  return 0;
}
