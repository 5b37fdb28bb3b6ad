// Shares of a batch: every document in exactly one share, whatever order
// the inputs were named in, and only well-formed K/N accepted.
#include "batch/shard.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

TEST(PartLot, SharesCoverEveryDocumentOnceWhateverTheInputOrder) {
    std::vector<DocumentLot> documents;
    for (const char* s : {"set/c", "set/a", "set/e", "other/b", "set/d", "set/f", "set/g"})
        documents.push_back({s, s, GenreDocument::Images, {}});
    std::vector<DocumentLot> inverse(documents.rbegin(), documents.rend());
    std::map<std::string, int> vus;
    for (int k = 1; k <= 3; ++k) {
        const std::vector<DocumentLot> part = ChoisitPart(documents, PartLot{k, 3});
        const std::vector<DocumentLot> autre = ChoisitPart(inverse, PartLot{k, 3});
        ASSERT_EQ(part.size(), autre.size());
        EXPECT_GE(part.size(), 2u);  // 7 documents over 3 shares: 3, 2, 2
        for (const DocumentLot& d : part) ++vus[d.source];
        for (size_t i = 0; i < part.size(); ++i)
            EXPECT_EQ(part[i].source,
                      autre[autre.size() - 1 - i].source);  // same share, input order kept
    }
    EXPECT_EQ(vus.size(), documents.size());
    for (const auto& [source, fois] : vus) EXPECT_EQ(fois, 1) << source;
    // More shares than documents: the last shares are empty, not an error.
    EXPECT_TRUE(ChoisitPart(documents, PartLot{9, 9}).empty());
}

TEST(PartLot, OnlyKOverNWithKFromOneToN) {
    PartLot p;
    ASSERT_TRUE(LitPartLot("2/8", p));
    EXPECT_EQ(p.k, 2);
    EXPECT_EQ(p.n, 8);
    for (const char* faux : {"0/3", "4/3", "1/0", "-1/3", "1/-3", "1/3x", " 1/3", "1", "a/b", "",
                             "1/1000000", "99999999999/3"})
        EXPECT_FALSE(LitPartLot(faux, p)) << faux;
}
