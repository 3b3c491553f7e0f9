/* The second host controller: a root-enumerated plug-and-play device whose only name is the
 * device path of its GUID_DEVINTERFACE_USB_HOST_CONTROLLER interface. It has no legacy
 * "\\.\HCDn" link, so only a walk of the system's device list finds it. Its root hub is a
 * device object of this driver like the others (see usb_hub.c). */
#include "korvensim.h"

/* GUID_DEVINTERFACE_USB_HOST_CONTROLLER */
static const GUID hostControllerInterface = {
    0x3ABF6F2D, 0x71C4, 0x462A, {0x8A, 0x92, 0x1E, 0x68, 0x61, 0xE6, 0xAF, 0x27}};

typedef struct KsimPnpExtension {
  KsimExtension base; /* first: the dispatch reads the kind from it */
  PDEVICE_OBJECT lower;
  UNICODE_STRING interfaceName;
} KsimPnpExtension;

static KsimPnpExtension* PnpExtensionOf(PDEVICE_OBJECT device) {
  return (KsimPnpExtension*)device->DeviceExtension;
}

NTSTATUS NTAPI KsimPnpAddDevice(PDRIVER_OBJECT driver, PDEVICE_OBJECT physical) {
  PDEVICE_OBJECT device = NULL;
  KsimPnpExtension* extension;
  NTSTATUS status = IoCreateDevice(driver, sizeof(KsimPnpExtension), NULL, FILE_DEVICE_CONTROLLER,
                                   FILE_DEVICE_SECURE_OPEN, FALSE, &device);
  if (!NT_SUCCESS(status)) return status;
  extension = PnpExtensionOf(device);
  RtlZeroMemory(extension, sizeof *extension);
  extension->base.kind = KSIM_PNP_HOST;
  extension->lower = IoAttachDeviceToDeviceStack(device, physical);
  if (extension->lower == NULL) {
    IoDeleteDevice(device);
    return STATUS_NO_SUCH_DEVICE;
  }
  status = IoRegisterDeviceInterface(physical, &hostControllerInterface, NULL,
                                     &extension->interfaceName);
  if (!NT_SUCCESS(status)) {
    IoDetachDevice(extension->lower);
    IoDeleteDevice(device);
    return status;
  }
  device->Flags |= DO_BUFFERED_IO;
  device->Flags &= ~DO_DEVICE_INITIALIZING;
  return STATUS_SUCCESS;
}

static NTSTATUS PassDown(PDEVICE_OBJECT lower, PIRP irp) {
  IoSkipCurrentIrpStackLocation(irp);
  return IoCallDriver(lower, irp);
}

NTSTATUS NTAPI KsimPnpDispatch(PDEVICE_OBJECT device, PIRP irp) {
  KsimPnpExtension* extension = PnpExtensionOf(device);
  PDEVICE_OBJECT lower;
  NTSTATUS status;

  /* The legacy device objects are no plug-and-play devices. */
  if (extension->base.kind != KSIM_PNP_HOST) {
    status = irp->IoStatus.Status;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
  }
  lower = extension->lower;
  switch (IoGetCurrentIrpStackLocation(irp)->MinorFunction) {
    case IRP_MN_START_DEVICE:
      IoSetDeviceInterfaceState(&extension->interfaceName, TRUE);
      irp->IoStatus.Status = STATUS_SUCCESS;
      return PassDown(lower, irp);
    case IRP_MN_SURPRISE_REMOVAL:
      IoSetDeviceInterfaceState(&extension->interfaceName, FALSE);
      irp->IoStatus.Status = STATUS_SUCCESS;
      return PassDown(lower, irp);
    case IRP_MN_REMOVE_DEVICE:
      IoSetDeviceInterfaceState(&extension->interfaceName, FALSE);
      RtlFreeUnicodeString(&extension->interfaceName);
      irp->IoStatus.Status = STATUS_SUCCESS;
      status = PassDown(lower, irp);
      IoDetachDevice(lower);
      IoDeleteDevice(device);
      return status;
    default:
      return PassDown(lower, irp);
  }
}
