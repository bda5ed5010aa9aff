#include "setup/SetupKeyNames.h"

#include <array>
#include <cstddef>

namespace {

struct NamedKey {
    int code;
    const char* name;
};

constexpr NamedKey kNamedKeys[] = {
    {1, "Escape"},        {2, "1"},           {3, "2"},          {4, "3"},          {5, "4"},
    {6, "5"},             {7, "6"},           {8, "7"},          {9, "8"},          {10, "9"},
    {11, "0"},            {12, "-"},          {13, "="},         {14, "Backspace"}, {15, "Tab"},
    {16, "Q"},            {17, "W"},          {18, "E"},         {19, "R"},         {20, "T"},
    {21, "Y"},            {22, "U"},          {23, "I"},         {24, "O"},         {25, "P"},
    {26, "["},            {27, "]"},          {28, "Enter"},     {29, "L Control"}, {30, "A"},
    {31, "S"},            {32, "D"},          {33, "F"},         {34, "G"},         {35, "H"},
    {36, "J"},            {37, "K"},          {38, "L"},         {39, ";"},         {40, "'"},
    {41, "`"},            {42, "L Shift"},    {43, "\\"},        {44, "Z"},         {45, "X"},
    {46, "C"},            {47, "V"},          {48, "B"},         {49, "N"},         {50, "M"},
    {51, ","},            {52, "."},          {53, "/"},         {54, "R Shift"},   {55, "NUMPAD *"},
    {56, "L Alt"},        {57, "Spacebar"},   {58, "Caps Lock"}, {59, "F1"},        {60, "F2"},
    {61, "F3"},           {62, "F4"},         {63, "F5"},        {64, "F6"},        {65, "F7"},
    {66, "F8"},           {67, "F9"},         {68, "F10"},       {69, "Num Lock"},  {70, "Scroll Lock"},
    {71, "NUMPAD 7"},     {72, "NUMPAD 8"},   {73, "NUMPAD 9"},  {74, "NUMPAD -"},  {75, "NUMPAD 4"},
    {76, "NUMPAD 5"},     {77, "NUMPAD 6"},   {78, "NUMPAD +"},  {79, "NUMPAD 1"},  {80, "NUMPAD 2"},
    {81, "NUMPAD 3"},     {82, "NUMPAD 0"},   {83, "NUMPAD ."},  {87, "F11"},       {88, "F12"},
    {100, "F13"},         {101, "F14"},       {102, "F15"},      {156, "NUMPAD Enter"}, {157, "R Control"},
    {181, "NUMPAD /"},    {183, "SysRq"},     {184, "R Alt"},    {199, "Home"},     {200, "UP"},
    {201, "PgUp"},        {203, "LEFT"},      {205, "RIGHT"},    {207, "End"},      {208, "DOWN"},
    {209, "PgDown"},      {210, "Insert"},    {211, "Delete"},   {219, "L Window"}, {220, "R Window"},
    {221, "AppMenu"},
};

// Indexed directly by code, as the tool looks names up.
constexpr std::array<const char*, 256> BuildTable()
{
    std::array<const char*, 256> table{};
    for (const char*& name : table)
        name = "";
    for (const NamedKey& key : kNamedKeys)
        table[size_t(key.code)] = key.name;
    return table;
}

constexpr std::array<const char*, 256> kTable = BuildTable();

} // namespace

const char* SetupKeyName(int code)
{
    return code >= 0 && code < int(kTable.size()) ? kTable[size_t(code)] : "";
}
