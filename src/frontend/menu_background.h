#pragma once
// The moving background of the menu and the episode selector: one of the
// "Background" children of "//MainMenu" in Settings\Menu.xml, picked with the
// runtime's random generator. Each scene makes its own pick.
#include <memory>

class CBackground;
class CXMLNode;

// The background of a randomly chosen child of `menu_node`; null (logged)
// when the node has no "Background" child or no background can be made.
std::shared_ptr<CBackground> CreateMenuBackground(const CXMLNode& menu_node);
