#include "TRepCompression.h"

#include "ERepError.h"

#include <QtEndian>
#include <array>

namespace {

constexpr int Root = 0;
constexpr int FirstLeaf = 256;
// The initial tree gives internal node 255 a right child 512 that no byte
// value owns; it takes part in splaying like any node but never decodes.
constexpr int NodeCount = 513;

class SplayTree {
public:
    SplayTree()
    {
        for (int i = 1; i < NodeCount; ++i)
            m_up[i] = (i - 1) / 2;
        for (int i = 0; i < FirstLeaf; ++i) {
            m_left[i] = 2 * i + 1;
            m_right[i] = 2 * i + 2;
        }
    }

    bool isLeaf(int node) const { return node >= FirstLeaf; }
    int parent(int node) const { return m_up[node]; }
    bool isRightChild(int node) const { return m_right[m_up[node]] == node; }
    int child(int node, bool right) const { return right ? m_right[node] : m_left[node]; }

    // Semi-splaying: each step swaps the node with its grandparent's other
    // child and moves on to the grandparent, so frequent bytes rise.
    void splay(int a)
    {
        while (a != Root && m_up[a] != Root) {
            const int b = m_up[a];
            const int c = m_up[b];
            int d;
            if (m_left[c] == b) {
                d = m_right[c];
                m_right[c] = a;
            } else {
                d = m_left[c];
                m_left[c] = a;
            }
            if (m_left[b] == a)
                m_left[b] = d;
            else
                m_right[b] = d;
            m_up[a] = c;
            m_up[d] = b;
            a = c;
        }
    }

private:
    std::array<int, NodeCount> m_up{};
    std::array<int, FirstLeaf> m_left{};
    std::array<int, FirstLeaf> m_right{};
};

class BitWriter {
public:
    explicit BitWriter(QByteArray& out) : m_out(out) {}
    void put(bool bit)
    {
        if (m_used == 0)
            m_out.append('\0');
        if (bit)
            m_out.back() = char(uchar(m_out.back()) | (1u << m_used));
        m_used = (m_used + 1) % 8;
    }

private:
    QByteArray& m_out;
    int m_used = 0;
};

class BitReader {
public:
    BitReader(const QByteArray& in, qsizetype start) : m_in(in), m_bit(start * 8) {}
    bool atEnd() const { return m_bit >= m_in.size() * 8; }
    bool next()
    {
        const bool bit = (uchar(m_in[m_bit / 8]) >> (m_bit % 8)) & 1u;
        ++m_bit;
        return bit;
    }

private:
    const QByteArray& m_in;
    qsizetype m_bit;
};

[[noreturn]] void damaged()
{
    throw ERepError(QStringLiteral("Compressed page data is damaged"));
}

} // namespace

QByteArray TRepCompression::compress(const QByteArray& plain)
{
    QByteArray out(4, '\0');
    qToLittleEndian<quint32>(quint32(plain.size()), out.data());
    BitWriter writer(out);
    SplayTree tree;
    // A leaf lies at most one step below every internal node.
    std::array<bool, FirstLeaf + 1> path{};
    for (char byte : plain) {
        const int leaf = FirstLeaf + uchar(byte);
        int depth = 0;
        for (int node = leaf; node != Root; node = tree.parent(node))
            path[depth++] = tree.isRightChild(node);
        while (depth > 0)
            writer.put(path[--depth]);
        tree.splay(leaf);
    }
    return out;
}

QByteArray TRepCompression::decompress(const QByteArray& coded)
{
    if (coded.size() < 4)
        damaged();
    const quint32 length = qFromLittleEndian<quint32>(coded.constData());
    // A byte takes at least one bit, so the bits bound the length.
    if (length > quint64(coded.size() - 4) * 8)
        damaged();
    QByteArray plain;
    plain.reserve(qsizetype(length));
    BitReader reader(coded, 4);
    SplayTree tree;
    while (quint32(plain.size()) < length) {
        int node = Root;
        while (!tree.isLeaf(node)) {
            if (reader.atEnd())
                damaged();
            node = tree.child(node, reader.next());
        }
        if (node >= FirstLeaf + 256)
            damaged();
        plain.append(char(node - FirstLeaf));
        tree.splay(node);
    }
    return plain;
}
