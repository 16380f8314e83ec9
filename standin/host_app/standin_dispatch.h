#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "host/host_data_service.h"
#include "host/win32/com_ptr.h"

namespace tarnvex {

// A HostDataService as the host's automation object: an IDispatch whose
// Invoke is a switch on the four dispatch ids, with positional arguments only
// (names are not looked up), by-reference variants where the host takes them.
// An error of the service is answered with DISP_E_EXCEPTION and its text in
// the EXCEPINFO; no C++ exception leaves a COM call. The object holds the
// service for as long as anyone holds a reference on the object.
ComPtr<IDispatch> MakeStandinDispatch(std::shared_ptr<HostDataService> service);

}  // namespace tarnvex
