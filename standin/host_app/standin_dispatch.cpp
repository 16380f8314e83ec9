#include "standin/host_app/standin_dispatch.h"

#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "host/win32/bstr.h"
#include "host/win32/variant_conversion.h"
#include "host/win32/variant_holder.h"
#include "text/codepage.h"

namespace tarnvex {

namespace {

// A call whose arguments do not fit the operation; becomes an HRESULT.
struct BadArguments {
  HRESULT code;
  UINT argument;  // index into rgvarg, for DISP_E_TYPEMISMATCH
};

class StandinDispatch final : public IDispatch {
 public:
  explicit StandinDispatch(std::shared_ptr<HostDataService> service)
      : service_(std::move(service)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID,
                                          DISPID* ids) override {
    for (UINT i = 0; ids != nullptr && i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument_error) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    if (parameters == nullptr) return E_INVALIDARG;
    if (parameters->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    try {
      VariantHolder answer;
      switch (id) {
        case kDispIdGetDatabaseKind:
          RequireCount(*parameters, 0);
          answer = ToVariant(service_->GetDatabaseKind());
          break;
        case kDispIdExecuteQuery: {
          RequireCount(*parameters, 2);
          Variant sql = FromVariant(Argument(*parameters, 0));
          VARIANT& written = Reference(*parameters, 1);
          Variant packet = FromVariant(written);
          bool succeeded = service_->ExecuteQuery(sql, packet);
          Replace(written, packet);
          answer = ToVariant(Variant(succeeded));
          break;
        }
        case kDispIdExecuteStatement: {
          RequireCount(*parameters, 1);
          VARIANT& passed = Reference(*parameters, 0);
          Variant statements = FromVariant(passed);
          bool succeeded = service_->ExecuteStatement(statements);
          Replace(passed, statements);
          answer = ToVariant(Variant(succeeded));
          break;
        }
        case kDispIdCheckRight: {
          RequireCount(*parameters, 2);
          std::u16string operator_code = Text(*parameters, 0);
          std::u16string function_code = Text(*parameters, 1);
          answer = ToVariant(Variant(service_->CheckRight(operator_code, function_code)));
          break;
        }
        default:
          return DISP_E_MEMBERNOTFOUND;
      }
      if (result != nullptr) {
        VariantClear(result);
        *result = answer.Release();
      }
      return S_OK;
    } catch (const BadArguments& bad) {
      if (argument_error != nullptr) *argument_error = bad.argument;
      return bad.code;
    } catch (const std::exception& error) {
      return Fail(exception, error.what());
    } catch (...) {
      return Fail(exception, "未知错误！");
    }
  }

 private:
  ~StandinDispatch() = default;

  static void RequireCount(const DISPPARAMS& parameters, UINT count) {
    if (parameters.cArgs != count) throw BadArguments{DISP_E_BADPARAMCOUNT, 0};
  }
  // Positional argument position (first = 0); rgvarg holds them last first.
  static UINT Slot(const DISPPARAMS& parameters, UINT position) {
    return parameters.cArgs - 1 - position;
  }
  static const VARIANT& Argument(const DISPPARAMS& parameters, UINT position) {
    return parameters.rgvarg[Slot(parameters, position)];
  }
  // A by-reference variant: the only way the host can write into it.
  static VARIANT& Reference(const DISPPARAMS& parameters, UINT position) {
    VARIANT& argument = parameters.rgvarg[Slot(parameters, position)];
    if (argument.vt != (VT_BYREF | VT_VARIANT) || argument.pvarVal == nullptr) {
      throw BadArguments{DISP_E_TYPEMISMATCH, Slot(parameters, position)};
    }
    return *argument.pvarVal;
  }
  static std::u16string Text(const DISPPARAMS& parameters, UINT position) {
    Variant value = FromVariant(Argument(parameters, position));
    std::optional<std::u16string> text = value.ToWideText();
    if (!text) throw BadArguments{DISP_E_TYPEMISMATCH, Slot(parameters, position)};
    return *text;
  }
  // The caller's variant takes the new value; the old one is freed only once
  // the new one has been made.
  static void Replace(VARIANT& target, const Variant& value) {
    VariantHolder made = ToVariant(value);
    VariantClear(&target);
    target = made.Release();
  }
  static HRESULT Fail(EXCEPINFO* exception, const char* what) {
    if (exception != nullptr) {
      *exception = EXCEPINFO{};
      exception->scode = E_FAIL;
      try {
        exception->bstrSource = Bstr(u"tarnvex-host").Release();
        exception->bstrDescription = Bstr(Cp936ToUtf16(what)).Release();
      } catch (...) {
        // Without memory for the text the caller still learns that it failed.
      }
    }
    return DISP_E_EXCEPTION;
  }

  std::shared_ptr<HostDataService> service_;
  LONG references_ = 1;
};

}  // namespace

ComPtr<IDispatch> MakeStandinDispatch(std::shared_ptr<HostDataService> service) {
  return ComPtr<IDispatch>::Adopt(new StandinDispatch(std::move(service)));
}

}  // namespace tarnvex
