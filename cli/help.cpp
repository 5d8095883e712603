#include "cli/help.h"

namespace tovrik::cli {

const char *const helpText
    = "用法：\n"
      "  tovrik-size air   -Q 流量 -P 压力 -T 温度 -v 流速 [--json]\n"
      "  tovrik-size steam -Q 质量流量 (-u 比容 | -p 压力 --gauge|--absolute) -v 流速 [--json]\n"
      "  tovrik-size water -Q 流量 -v 流速 [--json]\n"
      "  tovrik-size batch [--gauge|--absolute] [文件]\n"
      "\n"
      "由设计流量和流速计算管道内径（mm），结果与 Tovrik 窗口显示的完全相同；并给出\n"
      "可选用的公称直径（ASME B36.10M 40 号壁厚）、其内径、实际流速，以及实际流速\n"
      "是否在参考资料的常用流速范围内。\n"
      "\n"
      "选项：\n"
      "  -Q, --flow=值             流量：压缩空气为标态流量 m3/h，蒸汽为质量流量 t/h，水为 t/h\n"
      "  -P, --pressure=值         压缩空气设计压力 MPa\n"
      "  -T, --temperature=值      压缩空气设计温度 oC\n"
      "  -u, --specific-volume=值  蒸汽的比容 m3/kg\n"
      "  -p, --steam-pressure=值   饱和蒸汽压力 MPa，代替 -u，比容按 IAPWS-IF97 计算\n"
      "      --gauge               压力为表压（加 0.101325 MPa）\n"
      "      --absolute            压力为绝对压力\n"
      "  -v, --velocity=值         设计流速 m/s\n"
      "      --json                以 JSON 输出输入、结果文本和结果数值\n"
      "  -h, --help                显示本帮助\n"
      "      --version             显示版本\n"
      "\n"
      "batch 从文件（没有文件或为 - 时从标准输入）读取带表头的 CSV，列为\n"
      "medium,Q,P,T,u,v（顺序任意，其他列原样保留），medium 为 air/steam/water 或\n"
      "压缩空气/蒸汽/水；蒸汽可用压力列 p 代替 u（须给出 --gauge 或 --absolute）。\n"
      "输出同样的 CSV，并加上结果列 d、error、DN、ID、v_real 和 v_check。\n"
      "数值一律以 . 作小数点。\n"
      "\n"
      "退出状态：0 成功；1 有计算失败；2 用法或输入错误。\n";

} // namespace tovrik::cli
