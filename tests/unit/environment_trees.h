// The trees that runs leave, and the standalone environment with older payload-named entries that the entry and
// journal tests start from.
#pragma once

#include "environment/environment_steps.h"
#include "tests/unit/fake_platform.h"

using Tree = std::map<std::wstring, std::wstring>;  // by key: the node as it stands, its spelling included

inline const EnvironmentRoots kStandalone{L"C:\\eclipse", L"C:\\sdk"}, kAdt{L"C:\\adt", nullptr};

inline Tree tree() {
    Tree nodes;
    for (const auto& [key, node] : fake::state().nodes)
        nodes[key] = node.spelled + L"|" + std::to_wstring(node.folder) + L"|" + std::to_wstring(node.extraAttributes) +
                     L"|" + std::to_wstring(node.size) + L"|" + node.leadsTo;
    return nodes;
}

// The tree with every payload-named entry of the standalone targets gone, and the payload's in their place
// when given.
inline Tree payloadNamedReplaced(Tree nodes, bool withPayload) {
    const Tree all = tree();
    for (const auto& [payload, target] :
         {std::pair<std::wstring, std::wstring>{L"c:\\setup\\plugins\\eclipse", L"c:\\eclipse\\plugins"},
          {L"c:\\setup\\add-ons", L"c:\\sdk\\add-ons"}}) {
        for (auto n = nodes.begin(); n != nodes.end();) {
            const std::wstring below = n->first.rfind(target + L"\\", 0) == 0 ? n->first.substr(target.size()) : L"";
            n = !below.empty() && all.count(payload + below.substr(0, below.find(L'\\', 1))) ? nodes.erase(n)
                                                                                             : std::next(n);
        }
        for (const auto& [key, node] : all)
            if (withPayload && key.rfind(payload + L"\\", 0) == 0)
                nodes[target + key.substr(payload.size())] =
                    all.at(target).substr(0, target.size()) + node.substr(payload.size());
    }
    return nodes;
}

// A standalone environment holding older payload-named entries: a read-only older file, a folder with a stale file,
// a compressed one, a read-only one, a link (to a folder that must keep every byte) and a path within 20 characters
// of the limit; a file spelt in another case where the payload has a folder, and an empty add-on folder, where a
// payload path comes as close to the limit.
inline void seedOlderEntries() {
    fake::add(L"C:\\outside\\kept", false, 4);
    fake::state().nodes[L"c:\\eclipse\\plugins\\core\\link"] = {true, platform::kAttributeReparsePoint, L"c:\\outside"};
    fake::add(L"C:\\eclipse\\plugins\\core\\ro.txt", false, 1);
    fake::state().nodes[L"c:\\eclipse\\plugins\\core\\ro.txt"].extraAttributes = platform::kAttributeReadOnly;
    fake::add(L"C:\\eclipse\\plugins\\core\\" + std::wstring(221, L'o'), false, 2);
    fake::add(L"C:\\Setup\\add-ons\\addon\\" + std::wstring(224, L'n'), false, 2);
    fake::add(L"C:\\Setup\\plugins\\Eclipse\\core\\lib.jar", false, 7);
    fake::add(L"C:\\Setup\\plugins\\Eclipse\\Core.Ext", false, 4);
    fake::add(L"C:\\Setup\\add-ons\\addon\\x.txt", false, 3);
    fake::add(L"C:\\eclipse\\eclipse.exe", false, 1);
    fake::add(L"C:\\eclipse\\plugins\\ui.jar", false, 2);
    fake::state().nodes[L"c:\\eclipse\\plugins\\ui.jar"].extraAttributes = platform::kAttributeReadOnly;
    fake::add(L"C:\\eclipse\\plugins\\core\\lib.jar", false, 5);
    fake::add(L"C:\\eclipse\\plugins\\core\\stale.txt", false, 1);
    fake::add(L"C:\\eclipse\\plugins\\core\\packed.bin", false, 8);
    fake::state().nodes[L"c:\\eclipse\\plugins\\core\\packed.bin"].extraAttributes = platform::kAttributeReparsePoint;
    fake::state().nodes[L"c:\\eclipse\\plugins\\core\\packed.bin"].tag = 0x80000017;  // WOF: not a link
    fake::add(L"C:\\eclipse\\plugins\\CORE.EXT", false, 9);
    fake::add(L"C:\\eclipse\\plugins\\other.jar", false, 6);
    fake::add(L"C:\\sdk\\add-ons");
}

inline bool integrateStandalone() {
    return integrateEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, StepOrder::AddOnsFirst, nullptr);
}

// The shell's work and the folders made, the run's own staging folders left out.
inline Lines work() {
    Lines lines;
    for (const auto& line : fake::withoutBookkeeping())
        if (line.rfind(L"copy ", 0) == 0 || line.rfind(L"delete ", 0) == 0 || line.rfind(L"mkdir ", 0) == 0)
            lines.push_back(line);
    return lines;
}
