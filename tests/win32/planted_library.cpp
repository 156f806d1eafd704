// A library planted beside the program under the accessibility library's name: it offers
// what the program once imported from the real one, and leaves a mark beside itself when
// it is loaded, as a planted library's code would run.
#include <windows.h>

#include <cwchar>

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t mark[MAX_PATH + 32] = {};
    GetModuleFileNameW(self, mark, MAX_PATH);
    wchar_t* name = std::wcsrchr(mark, L'\\');
    std::wcscpy(name ? name + 1 : mark, L"planted-library-ran");
    CloseHandle(CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI CreateStdAccessibleObject(HWND, LONG, REFIID, void**) {
    return E_FAIL;
}

__declspec(dllexport) LRESULT WINAPI LresultFromObject(REFIID, WPARAM, void*) {
    return 0;
}

} // extern "C"
