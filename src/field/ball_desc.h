#pragma once
// The description of one ball type, read from a "Ball" (or a level's "Bonus")
// element:
//   <Ball graph_type="3" bonus_type="0" score="10" life="0">
//     <Match graph_type="3, 9"/>
//     <Substrate id="1" color="FFC0C0C0"/>
//     <ResCredit type="1" amount="2"/>
//   </Ball>
#include <cstdint>
#include <vector>

class CXMLNode;

struct BallDesc {
    int graph_type = 0;  // the type's number and its graph type in the balls base
    int bonus_type = 0;  // not 0: a bonus ball that releases that bonus
    int score = 0;
    int life = 0;  // -1: an artefact fragment (never selected, never a bonus)
    std::vector<int> match;
    int substrate_id = 0;  // 0: none
    uint32_t substrate_color = 0xFFFFFFFF;
    int credit_type = 0;  // tool credit: 1 hammer, 2 feather, 3 egg
    int credit_amount = 0;
};

// Fills `desc` from the element, starting from the defaults; false (and
// `desc` untouched) for an invalid element.
bool ParseBallDesc(const CXMLNode& node, BallDesc& desc);
