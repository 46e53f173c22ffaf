#pragma once

// Sets a view flag for the length of a scope and puts back what it was:
// programmatic edits neither recolour through the change path nor take a
// snapshot of their own.
class CUpdating
{
public:
    explicit CUpdating(bool& bFlag) : m_bFlag(bFlag), m_bWas(bFlag) { m_bFlag = true; }
    ~CUpdating() { m_bFlag = m_bWas; }
    CUpdating(const CUpdating&) = delete;
    CUpdating& operator=(const CUpdating&) = delete;

private:
    bool& m_bFlag;
    bool m_bWas;
};
