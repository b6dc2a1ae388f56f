// The scene's one container: a doubly linked list of pointer-sized values
// (pointers to objects it does not own, or small values such as bool).
// The list owns only its nodes. Duplicates are allowed; callers that want
// a value once use appendIfAbsent.
#pragma once

#include <cstdint>

template <typename T>
class LinkedList {
public:
    struct Node {
        T value;
        Node* next = nullptr;
        Node* prev = nullptr;
    };

    LinkedList() = default;
    // Frees every node; the values are untouched.
    ~LinkedList() { clear(); }
    LinkedList(const LinkedList&) = delete;
    LinkedList& operator=(const LinkedList&) = delete;

    std::int32_t count() const { return count_; }
    const Node* head() const { return head_; }
    const Node* tail() const { return tail_; }

    // True when some node holds exactly this value.
    bool contains(T value) const {
        for (const Node* node = head_; node != nullptr; node = node->next) {
            if (node->value == value) return true;
        }
        return false;
    }

    // Puts the value at that position counting from 0 at the head; a position
    // below 0 or above count is taken as count (the tail).
    void insertAt(T value, std::int32_t position) {
        if (position < 0 || position > count_) position = count_;
        Node* node = new Node{value};
        if (position == count_) {
            node->prev = tail_;
            if (tail_ != nullptr) tail_->next = node; else head_ = node;
            tail_ = node;
        } else {
            Node* after = nodeAt(position);
            node->next = after;
            node->prev = after->prev;
            if (after->prev != nullptr) after->prev->next = node; else head_ = node;
            after->prev = node;
        }
        ++count_;
    }

    // Adds the value at the tail.
    void append(T value) { insertAt(value, count_); }

    // Adds the value at the tail unless the list already holds it.
    void appendIfAbsent(T value) {
        if (!contains(value)) append(value);
    }

    // Unlinks the node nearest the head that holds the value; false when none does.
    bool remove(T value) {
        for (Node* node = head_; node != nullptr; node = node->next) {
            if (node->value != value) continue;
            if (node->prev != nullptr) node->prev->next = node->next; else head_ = node->next;
            if (node->next != nullptr) node->next->prev = node->prev; else tail_ = node->prev;
            delete node;
            --count_;
            return true;
        }
        return false;
    }

    // The value index steps from the head; callers keep 0 <= index < count.
    T valueAt(std::int32_t index) const { return nodeAt(index)->value; }

    // Writes the values from head to tail into an array of at least count entries.
    void copyTo(T* array) const {
        for (const Node* node = head_; node != nullptr; node = node->next) *array++ = node->value;
    }

    // Frees every node and leaves the list empty.
    void clear() {
        Node* node = head_;
        while (node != nullptr) {
            Node* next = node->next;
            delete node;
            node = next;
        }
        head_ = tail_ = nullptr;
        count_ = 0;
    }

private:
    Node* nodeAt(std::int32_t index) const {
        Node* node = head_;
        while (index-- > 0) node = node->next;
        return node;
    }

    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    std::int32_t count_ = 0;
};
