#include "app/launching/builtin_commands.h"

#include <windows.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <cstdio>

#include "data/link.h"
#include "data/link_path.h"
#include "ui/base/scoped_handles.h"

namespace {

// {BCDE0395-E52F-467C-8E3D-C4579291692E}
const CLSID kMMDeviceEnumeratorClass = {0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
// {A95664D2-9614-4F35-A746-DE8DB63617E6}
const IID kMMDeviceEnumeratorInterface = {0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
// {5CDF2C82-841E-4546-9722-0CF74078229A}
const IID kAudioEndpointVolumeInterface = {0x5CDF2C82, 0x841E, 0x4546, {0x97, 0x22, 0x0C, 0xF7, 0x40, 0x78, 0x22, 0x9A}};

}  // namespace

float NextVolumeLevel(float current, float level, bool absolute) {
  float next = absolute ? level : current + level;
  if (next < 0.001f) return 0.0f;
  if (next > 0.999f) return 1.0f;
  return next;
}

VolumeReach ChangeMasterVolumeReach(float level, bool absolute) {
  // The audio objects are made multithreaded here and released before returning.
  // A thread that already chose the apartment-threaded model keeps it (the
  // objects work there too); only our own successful initialisation is undone.
  ui::ScopedComInit com(COINIT_MULTITHREADED);
  if (!com.succeeded() && com.result() != RPC_E_CHANGED_MODE) return VolumeReach::kNothing;
  ui::ComPtr<IMMDeviceEnumerator> enumerator;
  if (FAILED(CoCreateInstance(kMMDeviceEnumeratorClass, nullptr, CLSCTX_INPROC_SERVER, kMMDeviceEnumeratorInterface,
                              enumerator.put_void())) ||
      !enumerator) {
    return VolumeReach::kNothing;
  }
  ui::ComPtr<IMMDevice> device;
  if (FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, device.put())) || !device) {
    return VolumeReach::kEnumerator;
  }
  ui::ComPtr<IAudioEndpointVolume> volume;
  if (FAILED(device->Activate(kAudioEndpointVolumeInterface, CLSCTX_INPROC_SERVER, nullptr, volume.put_void())) ||
      !volume) {
    return VolumeReach::kEndpoint;
  }
  BOOL muted = FALSE;
  if (FAILED(volume->GetMute(&muted))) return VolumeReach::kVolumeControl;
  if (muted) volume->SetMute(FALSE, nullptr);
  float current = 0.0f;
  if (FAILED(volume->GetMasterVolumeLevelScalar(&current))) return VolumeReach::kVolumeControl;
  std::printf("Current Volume is: %f\n", current);
  if (FAILED(volume->SetMasterVolumeLevelScalar(NextVolumeLevel(current, level, absolute), nullptr))) {
    return VolumeReach::kVolumeControl;
  }
  return VolumeReach::kLevelSet;
}

bool ChangeMasterVolume(float level, bool absolute) {
  return ChangeMasterVolumeReach(level, absolute) == VolumeReach::kLevelSet;
}

void RunBuiltInCommand(const Link& link) {
  std::wstring command = ResolveLinkPath(link.PATH);
  if (command == L"#MonitorOff") {
    PostMessageW(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
  } else if (command == L"#VolumeUp") {
    ChangeMasterVolume(0.05f, false);
  } else if (command == L"#VolumeDown") {
    ChangeMasterVolume(-0.05f, false);
  } else if (command == L"#Mute") {
    ChangeMasterVolume(0.0f, true);
  }
}
