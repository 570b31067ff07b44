// Remembered descriptions for completion in the register editor.
#include "QuilletDoc.h"

#include <cstring>

namespace
{
// strncmp over byte strings: a text that ends early compares as if a NUL
// byte followed it.
int CompareUpTo(const std::string& a, const std::string& b, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        const unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
    return 0;
}
}

void CQuilletDoc::RebuildEntryMemory(const CAccount& account)
{
    ClearEntryMemory();
    int taken = 0;
    for (auto it = account.m_transactions.rbegin(); it != account.m_transactions.rend() && taken < 50;
         ++it, ++taken)
        AddEntryMemory((*it)->m_strDescription, (*it)->m_strCategory, (*it)->m_nFlag);
}

void CQuilletDoc::AddEntryMemory(const std::string& description, const std::string& category, int flag)
{
    auto node = std::make_unique<MEMO_NODE>();
    node->description = CutText(description, MEMO_NODE::kTextMax);
    node->category = CutText(category, MEMO_NODE::kTextMax);
    node->flag = flag;

    std::unique_ptr<MEMO_NODE>* slot = &m_pEntryMemory;
    while (*slot && CompareBytes((*slot)->description, node->description) < 0)
        slot = &(*slot)->next;
    node->next = std::move(*slot);
    *slot = std::move(node);
}

bool CQuilletDoc::LookupEntryMemory(const std::string& typed, std::string& description,
                                    std::string& category, int& flag) const
{
    if (typed.size() < 3 || !m_pEntryMemory)
        return false;
    for (const MEMO_NODE* node = m_pEntryMemory.get(); node; node = node->next.get()) {
        const int c = CompareUpTo(typed, node->description, typed.size());
        if (c == 0) {
            description = node->description;
            category = node->category;
            flag = node->flag;
            return true;
        }
        if (c < 0)
            return false;
    }
    return false;
}

void CQuilletDoc::ClearEntryMemory()
{
    FreeNodeList(m_pEntryMemory);
}
