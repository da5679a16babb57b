#include "WindowLayout.h"

#include <stdexcept>

const Placement& WindowLayout::at(std::string_view name) const
{
    for (const Placement& placement : controls)
        if (placement.name == name)
            return placement;
    throw std::out_of_range("no control named " + std::string(name));
}

WindowLayout px9tester9xLayout()
{
    WindowLayout layout;
    layout.caption = "KestrovaPX9打印机测试程序";
    layout.clientWidth = 6465;
    layout.clientHeight = 4635;
    layout.bannerWidth = 455;
    layout.bannerHeight = 65;
    layout.controls = {
        {"Image1", "Form1", 0, 0, 6825, 975, ""},
        {"Frame1", "Form1", 120, 1080, 3135, 1215, "打印机端口类型"},
        {"Option1", "Frame1", 120, 360, 735, 255, "串口"},
        {"Option2", "Frame1", 120, 840, 735, 255, "并口"},
        {"Port", "Frame1", 1920, 240, 1095, 300, ""},
        {"LPort", "Frame1", 1920, 480, 1095, 300, ""},
        {"Speed", "Frame1", 1920, 720, 1095, 300, ""},
        {"Frame2", "Form1", 120, 2400, 3135, 735, "测试打印内容"},
        {"Prin", "Frame2", 120, 240, 2895, 300, ""},
        {"Frame4", "Form1", 120, 3240, 3135, 1335, "多行连续打印控制"},
        {"Label4", "Frame4", 120, 360, 1095, 375, "打印次数选择"},
        {"Turn", "Frame4", 1320, 480, 1575, 300, ""},
        {"Command3", "Frame4", 1800, 840, 1095, 375, "打印测试"},
        {"Frame3", "Form1", 3360, 1080, 3015, 735, "钱箱测试"},
        {"Command1", "Frame3", 1080, 240, 1095, 375, "开钱箱"},
        {"Han", "Form1", 3360, 1800, 3015, 1335, "握手协议"},
        {"Hand2", "Han", 240, 240, 2655, 375, "comNONE(不握手)"},
        {"Hand", "Han", 240, 840, 2655, 375, "RTS/CTS(硬件握手)"},
        {"Label1", "Form1", 3360, 3240, 3015, 375, "联系电话:+86 755 2660 1180"},
        {"Label2", "Form1", 3360, 3480, 3015, 495, "传    真:+86 755 2660 1181"},
        {"Label3", "Form1", 3360, 3720, 3015, 495, "网    址:kestrova.example.com"},
        {"Command5", "Form1", 5400, 4200, 975, 375, "退出"},
    };
    layout.tabOrder = {"Frame1", "Port", "Frame2", "Prin", "Frame3", "Command1", "Frame4",
                       "Label4", "Turn", "Command3", "Command5", "Option1", "Option2", "Speed",
                       "LPort", "Han", "Hand", "Hand2", "Label1", "Label2", "Label3"};
    return layout;
}

WindowLayout px9testerLayout()
{
    WindowLayout layout = px9tester9xLayout();
    layout.caption = "KestrovaPX9系列打印测试程序(版本1.0)";
    layout.clientHeight = 5010;
    layout.bannerWidth = 451;
    layout.bannerHeight = 64;
    const auto move = [&](const char* name, int left, int top) {
        for (Placement& placement : layout.controls)
            if (placement.name == name) {
                placement.left = left;
                placement.top = top;
                return &placement;
            }
        throw std::out_of_range(name);
    };
    const auto resize = [](Placement* placement, int width, int height) {
        placement->width = width;
        placement->height = height;
    };
    resize(move("Image1", 0, 0), 6765, 960);
    move("Frame2", 120, 2280);
    move("Frame4", 120, 3120);
    resize(move("Han", 3360, 1920), 3015, 1455);
    resize(move("Label1", 3360, 3480), 3015, 255);
    resize(move("Label2", 3360, 3840), 3015, 255);
    resize(move("Label3", 3360, 4200), 3015, 375);
    move("Command5", 5280, 4560);
    return layout;
}
