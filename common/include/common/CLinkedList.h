#pragma once
// A small doubly linked list: head, tail and count, with nodes that callers
// keep as handles so that removal is O(1) (the image registries store the node
// of each live object; the editor's frame list inserts around a node).

#include <cassert>
#include <cstddef>
#include <utility>

template <typename T>
class CLinkedList {
public:
    struct Node {
        T value;
        Node* prev = nullptr;
        Node* next = nullptr;
    };

    CLinkedList() = default;
    CLinkedList(const CLinkedList&) = delete;
    CLinkedList& operator=(const CLinkedList&) = delete;
    ~CLinkedList() { RemoveAll(); }

    Node* Head() const { return m_head; }
    Node* Tail() const { return m_tail; }
    size_t Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    Node* AddTail(T value) { return InsertAfter(m_tail, std::move(value)); }
    Node* AddHead(T value) { return InsertBefore(m_head, std::move(value)); }

    // Inserts after `where`; a null `where` inserts at the head.
    Node* InsertAfter(Node* where, T value)
    {
        Node* node = new Node{std::move(value)};
        node->prev = where;
        node->next = where ? where->next : m_head;
        Link(node);
        return node;
    }

    // Inserts before `where`; a null `where` inserts at the tail.
    Node* InsertBefore(Node* where, T value)
    {
        Node* node = new Node{std::move(value)};
        node->next = where;
        node->prev = where ? where->prev : m_tail;
        Link(node);
        return node;
    }

    // Unlinks and deletes the node, returning its value.
    T Remove(Node* node)
    {
        assert(node && m_count > 0);
        (node->prev ? node->prev->next : m_head) = node->next;
        (node->next ? node->next->prev : m_tail) = node->prev;
        --m_count;
        T value = std::move(node->value);
        delete node;
        return value;
    }

    // Removes the last node and hands back its value; the list must not be empty.
    T TakeTail() { return Remove(m_tail); }

    // The node at position `index` counted from the head, or null past the end.
    Node* FindIndex(size_t index) const
    {
        if (index >= m_count)
            return nullptr;
        Node* node = m_head;
        while (index-- > 0)
            node = node->next;
        return node;
    }

    void RemoveAll()
    {
        while (m_tail)
            Remove(m_tail);
    }

    template <typename F>
    void ForEach(F&& visit) const
    {
        for (Node* n = m_head; n; n = n->next)
            visit(n->value);
    }

private:
    void Link(Node* node)
    {
        (node->prev ? node->prev->next : m_head) = node;
        (node->next ? node->next->prev : m_tail) = node;
        ++m_count;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    size_t m_count = 0;
};
