#include "main_texts.h"

namespace tarvenor::skin {

const std::vector<ControlName>& control_names() {
    static const std::vector<ControlName> names{
        {"Usb", "回报率", "Report rate"},  {"Deng", "灯光", "Lighting"},
        {"Light", "亮度", "Brightness"},   {"FX", "方向", "Direction"},
        {"Speed", "速度", "Speed"},        {"Color", "颜色", "Colour"},
        {"JColor", "基色", "Base colour"}, {"DC", "随机", "Random"},
        {"Tool", "工具", "Tool"}};
    return names;
}

const std::vector<EffectName>& effect_names() {
    static const std::vector<EffectName> names{
        {1, "波浪", "Wave"},          {2, "流光", "Flow"},
        {3, "扫描", "Scan"},          {4, "光谱", "Spectrum"},
        {5, "呼吸", "Breathing"},     {6, "常亮", "Static"},
        {7, "触发", "Reactive"},      {8, "涟漪", "Ripple"},
        {9, "星光", "Starlight"},     {10, "雨滴", "Raindrop"},
        {11, "霓虹", "Neon"},         {12, "上下波浪", "Vertical wave"},
        {13, "贪吃蛇", "Snake"},      {14, "烟花", "Fireworks"},
        {15, "脉冲", "Pulse"},        {16, "单键常亮", "Single key"},
        {17, "四色", "Four colours"}, {18, "扩散", "Spread"},
        {20, "自定义", "Custom"}};
    return names;
}

} // namespace tarvenor::skin
