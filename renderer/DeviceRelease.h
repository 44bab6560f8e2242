#pragma once
// Gives back one reference on a device object (buffer, texture, surface)
// and forgets the pointer; nothing for null.
template <typename DeviceObject>
void ReleaseDeviceObject(DeviceObject** object) {
  if (*object) (*object)->Release();
  *object = nullptr;
}
