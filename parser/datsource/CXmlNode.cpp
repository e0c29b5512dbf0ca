#include "parser/datsource/CXmlNode.h"

std::wstring CXmlNode::Text() const
{
    std::wstring text = m_value;
    for (const CXmlNode& child : m_children) {
        if (child.m_name == kCDataName) {
            text += child.m_value;
        }
    }
    return text;
}

const std::wstring* CXmlNode::FindAttribute(std::wstring_view name) const
{
    for (const CAttribute& attribute : m_attributes) {
        if (attribute.name == name) {
            return &attribute.value;
        }
    }
    return nullptr;
}

const CXmlNode* CXmlNode::Child(size_t index) const
{
    return index < m_children.size() ? &m_children[index] : nullptr;
}

const CXmlNode* CXmlNode::FindChild(std::wstring_view name) const
{
    for (const CXmlNode& child : m_children) {
        if (child.m_name == name) {
            return &child;
        }
    }
    return nullptr;
}

void CXmlNode::AddAttribute(std::wstring name, std::wstring value)
{
    m_attributes.push_back({std::move(name), std::move(value)});
}

CXmlNode& CXmlNode::AddChild(CXmlNode child)
{
    m_children.push_back(std::move(child));
    return m_children.back();
}

void CXmlNode::Clear()
{
    m_name.clear();
    m_value.clear();
    m_attributes.clear();
    m_children.clear();
}
