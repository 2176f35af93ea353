#include "shell/data_accessible_win32.h"

#include <oleacc.h>

#include <string>

#include "shell/shell_win32.h"
#include "shell/system_calls_win32.h"
#include "view/reader_words.h"

namespace vop::shell {
namespace {

bool Self(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT Text(const std::string& utf8, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (utf8.empty()) return S_FALSE;
    *out = late::SysAllocString(Wide(utf8).c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

// One object per request; all it keeps is the window it speaks for.
class DataAccessible final : public IAccessible {
public:
    explicit DataAccessible(HWND window) : window_(window) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (id != IID_IUnknown && id != IID_IDispatch && id != IID_IAccessible) return E_NOINTERFACE;
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: readers call the methods themselves.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: one object, no children.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (!Connected()) return RPC_E_DISCONNECTED;
        return late::AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                          reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return Connected() ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        if (child) *child = nullptr;
        return Connected() ? E_INVALIDARG : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Words(child, name, [](const ReaderWords& w) { return w.name; });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Words(child, value, [](const ReaderWords& w) { return w.value; });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* out) override { return Nothing(out); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override { return Nothing(out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (!topic) return E_POINTER;
        *topic = 0;
        return Nothing(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) override { return Nothing(out); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* out) override { return Nothing(out); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Number(child, role, ROLE_SYSTEM_TEXT);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const bool focused = GetFocus() == window_;
        return Number(child, state, STATE_SYSTEM_FOCUSABLE | (focused ? STATE_SYSTEM_FOCUSED : 0));
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (GetFocus() != window_) return Empty(focus);
        return Number(Child(), focus, CHILDID_SELF);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override { return Empty(selection); }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* width, long* height, VARIANT child) override {
        if (!x || !y || !width || !height) return E_POINTER;
        *x = *y = *width = *height = 0;
        if (!Connected()) return RPC_E_DISCONNECTED;
        if (!Self(child)) return E_INVALIDARG;
        RECT client{};
        GetClientRect(window_, &client);
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
        *x = client.left;
        *y = client.top;
        *width = client.right - client.left;
        *height = client.bottom - client.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override { return Empty(end); }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        POINT at{x, y};
        RECT client{};
        GetClientRect(window_, &client);
        if (!ScreenToClient(window_, &at) || !PtInRect(&client, at)) return Empty(hit);
        return Number(Child(), hit, CHILDID_SELF);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~DataAccessible() = default;

    // The data window still there: once it is gone the object speaks for nothing.
    bool Connected() const { return IsWindow(window_) && window_ == DataWindow(); }

    // Answers with nothing: S_FALSE, or disconnected once the window is gone.
    HRESULT Nothing(BSTR* out) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        return Connected() ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT Empty(VARIANT* out) const {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        return Connected() ? S_FALSE : RPC_E_DISCONNECTED;
    }

    static VARIANT Child() {
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return self;
    }

    template <class Pick>
    HRESULT Words(const VARIANT& child, BSTR* out, Pick pick) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!Connected()) return RPC_E_DISCONNECTED;
        if (!Self(child)) return E_INVALIDARG;
        return Text(pick(DataWindowWords(Editor())), out);
    }

    HRESULT Number(const VARIANT& child, VARIANT* out, long number) const {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        if (!Connected()) return RPC_E_DISCONNECTED;
        if (!Self(child)) return E_INVALIDARG;
        out->vt = VT_I4;
        out->lVal = number;
        return S_OK;
    }

    HWND window_;
    ULONG references_ = 1;
};

// What readers were last told, and whether a telling is on its way. They
// belong to the one data window.
struct Told {
    bool pending = false;
    std::string name, value;
};

Told& LastTold() {
    static Told told;
    return told;
}

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM flags) {
    auto* object = new DataAccessible(window);
    late::NeedCom();
    const LRESULT result = late::LresultFromObject(IID_IAccessible, flags, object);
    object->Release();
    return result;
}

void ReaderWordsMayHaveChanged() {
    Told& told = LastTold();
    if (told.pending || !DataWindow()) return;
    told.pending = PostMessageW(DataWindow(), TellReadersMessage, 0, 0) != FALSE;
}

void TellReaders(HWND window) {
    Told& told = LastTold();
    told.pending = false;
    const ReaderWords words = DataWindowWords(Editor());
    if (words.name == told.name && words.value == told.value) return;
    told.name = words.name;
    told.value = words.value;
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace vop::shell
