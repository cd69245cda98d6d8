#include "field/ball_desc.h"

#include "engine/helpers.h"
#include "engine/xml_node.h"

bool ParseBallDesc(const CXMLNode& node, BallDesc& desc) {
    if (!node.IsValid()) return false;
    BallDesc parsed;
    parsed.graph_type = node.GetAttributeInt("graph_type", 0);
    parsed.bonus_type = node.GetAttributeInt("bonus_type", 0);
    parsed.score = node.GetAttributeInt("score", 0);
    parsed.life = node.GetAttributeInt("life", 0);
    if (const CXMLNode match = node.SelectSingleNode("Match"); match.IsValid())
        TokenizeInts(&parsed.match, match.GetAttribute("graph_type", ""), " ,");
    if (const CXMLNode substrate = node.SelectSingleNode("Substrate"); substrate.IsValid()) {
        parsed.substrate_id = substrate.GetAttributeInt("id", 0);
        parsed.substrate_color = StrToColor(substrate.GetAttribute("color", "FFFFFFFF"));
    }
    if (const CXMLNode credit = node.SelectSingleNode("ResCredit"); credit.IsValid()) {
        parsed.credit_type = credit.GetAttributeInt("type", 0);
        parsed.credit_amount = credit.GetAttributeInt("amount", 0);
    }
    desc = std::move(parsed);
    return true;
}
