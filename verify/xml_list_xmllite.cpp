// The XML datafile read with XmlLite, the system's own XML reader, on Windows.
#define WIN32_LEAN_AND_MEAN
#include <objidl.h>
#include <shlwapi.h>
#include <windows.h>
#include <xmllite.h>

#include <cstdio>
#include <memory>

#include "list_readers.h"

namespace quillet::verify {

namespace {

using CreateXmlReaderFunction = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using Held = std::unique_ptr<T, Releaser>;

// XmlLite from the system's folder only, never a DLL of that name beside the program; looked up
// at run time, since MinGW has no import library for it.
CreateXmlReaderFunction createXmlReader() {
    static const auto create = [] {
        const HMODULE xmlLite =
            LoadLibraryExW(L"xmllite.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return xmlLite == nullptr
                   ? nullptr
                   : reinterpret_cast<CreateXmlReaderFunction>(
                         reinterpret_cast<void*>(GetProcAddress(xmlLite, "CreateXmlReader")));
    }();
    return create;
}

std::string utf8(const WCHAR* text, UINT length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                         nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), converted.data(), size, nullptr,
                        nullptr);
    return converted;
}

std::string localName(IXmlReader& reader) {
    const WCHAR* name = nullptr;
    UINT length = 0;
    reader.GetLocalName(&name, &length);
    return utf8(name, length);
}

std::string value(IXmlReader& reader) {
    const WCHAR* text = nullptr;
    UINT length = 0;
    reader.GetValue(&text, &length);
    return utf8(text, length);
}

}  // namespace

void readXmlList(std::string_view text, const EntryHandler& take) {
    const CreateXmlReaderFunction create = createXmlReader();
    IXmlReader* created = nullptr;
    if (create == nullptr ||
        FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&created), nullptr))) {
        throw SyntaxError{0, "XML lists need XmlLite, which this system lacks"};
    }
    const Held<IXmlReader> reader(created);
    const Held<IStream> stream(SHCreateMemStream(reinterpret_cast<const BYTE*>(text.data()),
                                                 static_cast<UINT>(text.size())));
    // A DOCTYPE is read, and its external definitions left where they are. pugixml leaves an
    // entity that the list's own DTD defines as it stands, while XmlLite expands it: a bound on
    // the expansions keeps a list of a few lines from growing to gigabytes. Wine's XmlLite, which
    // expands no such entity, knows no bound.
    constexpr LONG_PTR kMostEntityExpansions = 1000;
    HRESULT result = stream == nullptr ? E_OUTOFMEMORY
                                       : reader->SetProperty(XmlReaderProperty_DtdProcessing,
                                                             DtdProcessing_Parse);
    if (SUCCEEDED(result)) {
        result = reader->SetProperty(XmlReaderProperty_MaxEntityExpansion, kMostEntityExpansions);
        result = result == E_NOTIMPL ? S_OK : result;
    }
    if (SUCCEEDED(result)) {
        result = reader->SetInput(stream.get());
    }
    std::string game;
    bool inGame = false;
    XmlNodeType node;
    while (SUCCEEDED(result) && (result = reader->Read(&node)) == S_OK) {
        UINT depth = 0;
        reader->GetDepth(&depth);
        if (node != XmlNodeType_Element || depth < 1 || depth > 2) {
            continue;
        }
        const std::string name = localName(*reader);
        if (depth == 1) {
            inGame = name == "game" || name == "machine";
            game.clear();
        }
        const bool rom = depth == 2 && inGame && name == "rom";
        SpeltEntry entry{game, {}, {}, {}};
        for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK;
             more = reader->MoveToNextAttribute()) {
            if (depth == 1 && localName(*reader) == "name") {
                game = value(*reader);
            } else if (rom) {
                entry.take(localName(*reader), value(*reader));
            }
        }
        reader->MoveToElement();
        if (rom) {
            take(std::move(entry));
        }
    }
    if (FAILED(result)) {
        UINT line = 0;
        reader->GetLineNumber(&line);
        char code[40];
        std::snprintf(code, sizeof code, "XmlLite error 0x%08lX",
                      static_cast<unsigned long>(result));
        throw SyntaxError{line, "not well-formed XML: " + std::string(code)};
    }
}

}  // namespace quillet::verify
