#include "CompletionItems.h"

namespace {

using K = TCompletionKind;

// Every item of the list, in the order it is shown.
const std::vector<TCompletionItem> kItems = {
    {K::Directive, "#include", " \"filename\""},
    {K::Directive, "#target", " platform"},
    {K::Directive, "#define", " macro ..."},
    {K::Directive, "#undef", " macro"},
    {K::Directive, "#ifndef", " macro"},
    {K::Directive, "#ifdef", " macro"},
    {K::Directive, "#else", ""},
    {K::Directive, "#endif", ""},
    {K::Type, "char", " var,..."},
    {K::Type, "byte", " var,..."},
    {K::Type, "word", " var,..."},
    {K::Type, "integer", " var,..."},
    {K::Type, "long", " var,..."},
    {K::Type, "float", " var,..."},
    {K::Format, "chr", "(val)"},
    {K::Format, "hex", "(val)"},
    {K::Format, "tab", "(pos)"},
    {K::Format, "spc", "(count)"},
    {K::Format, "using", "(\"##.###\",x)"},
    {K::Operator, "or", ""},
    {K::Operator, "xor", ""},
    {K::Operator, "and", ""},
    {K::Operator, "not", ""},
    {K::Operator, "mod", ""},
    {K::Keyword, "if", "..then"},
    {K::Keyword, "then", ""},
    {K::Keyword, "else", ""},
    {K::Keyword, "elsif", "..then"},
    {K::Keyword, "endif", ""},
    {K::Keyword, "do", "..loop"},
    {K::Keyword, "loop", ""},
    {K::Keyword, "while", "..wend"},
    {K::Keyword, "wend", ""},
    {K::Keyword, "for", "..to..{step..}next"},
    {K::Keyword, "to", "..{step..}"},
    {K::Keyword, "step", ".."},
    {K::Keyword, "next", ""},
    {K::Keyword, "exit", ""},
    {K::Keyword, "on", "..goto|gosub label"},
    {K::Keyword, "goto", " label"},
    {K::Keyword, "gosub", " label"},
    {K::Keyword, "return", ""},
    {K::Keyword, "data", " const,..."},
    {K::Keyword, "read", " var,..."},
    {K::Keyword, "restore", " label"},
    {K::Keyword, "load", " addr,var,..."},
    {K::Keyword, "store", " addr,var,..."},
    {K::Keyword, "wait", " cond{,timeout{,label}}"},
    {K::Command, "put", " #device,expr|var{,count} "},
    {K::Command, "get", " #device,var{,count} "},
    {K::Command, "find", " #device,\"string\"{,timeout{,label}}"},
    {K::Command, "open", " \"file\" for mode as #device "},
    {K::Command, "close", " #device "},
    {K::Command, "flush", " #device "},
    {K::Command, "print", " #device,\"text\",expr,... "},
    {K::Command, "input", " #device,\"text\",var,... "},
    {K::Command, "initgsm", " #device,pin{,\"initstr\"{,timeout}}"},
    {K::Command, "sendsms", " #device,\"phone\",expr,... "},
    {K::Command, "recvsms", " #device,phone,text "},
    {K::Command, "inc", " var "},
    {K::Command, "dec", " var "},
    {K::Command, "poke", " addr,expr "},
    {K::Command, "pause", " milliseconds "},
    {K::Command, "sound", " frequency{,duration} "},
    {K::Command, "setcom", " channel,baudrate "},
    {K::Command, "setpwm", " channel,divider,period "},
    {K::Command, "setport", " port,config{,pull-up} "},
    {K::Command, "setclock", " mode "},
    {K::Command, "setdrive", " drive "},
    {K::Command, "setkeypad", " keypad "},
    {K::Command, "setsymbol", " char{,data,...} "},
    {K::Command, "setcounter", " channel,mode "},
    {K::Command, "setdisplay", " type{,interface} "},
    {K::Command, "setnetwork", " kind{,baudrate} "},
    {K::Command, "setstepper", " motor,mode "},
    {K::Command, "recv", " var,... "},
    {K::Command, "send", " msg,var,... "},
    {K::Command, "i2cin", " chip,addr,var,... "},
    {K::Command, "i2cout", " chip,addr,var,... "},
    {K::Command, "spishift", " mode,direction,var,... "},
    {K::Command, "cls", ""},
    {K::Command, "font", " size"},
    {K::Command, "move", " xpos,ypos"},
    {K::Command, "plot", " xpos,ypos"},
    {K::Command, "draw", " xpos,ypos{,style}"},
    {K::Command, "color", " pen{,paper}"},
    {K::Command, "frame", " xpos,ypos,xrec,yrec{,fillcolor}"},
    {K::Command, "scroll", " xpos,ypos,xrec,yrec,xstep{,ystep}"},
    {K::Command, "circle", " xpos,ypos,xrad{,yrad{,fillcolor}}"},
    {K::Command, "picture", " xpos,ypos,picture{,mode}"},
    {K::Command, "bargraph", " xpos,ypos,xbar,ybar,value{,mode}"},
    {K::Function, "lo", "(a)"},
    {K::Function, "hi", "(a)"},
    {K::Function, "abs", "(a)"},
    {K::Function, "min", "(a,b)"},
    {K::Function, "max", "(a,b)"},
    {K::Function, "len", "(str)"},
    {K::Function, "val", "(string{,start})"},
    {K::Function, "pos", "(string,text{,start})"},
    {K::Function, "eof", "(file)"},
    {K::Function, "peek", "(addr)"},
    {K::Function, "deg", "(rad)"},
    {K::Function, "rad", "(deg)"},
    {K::Function, "sin", "(x)"},
    {K::Function, "cos", "(x)"},
    {K::Function, "tan", "(x)"},
    {K::Function, "atn", "(x)"},
    {K::Function, "log", "(x)"},
    {K::Function, "exp", "(x)"},
    {K::Function, "pow", "(x,y)"},
    {K::Function, "sqr", "(x)"},
    {K::Function, "int", "(x)"},
    {K::Function, "round", "(x)"},
    {K::Function, "point", "(x,y)"},
    {K::Function, "usr", "(func{,...})"},
    {K::Variable, "Err", ""},
    {K::Variable, "Rxd", ""},
    {K::Variable, "Msg", ""},
    {K::Variable, "Adc", "n"},
    {K::Variable, "Pwm", "n"},
    {K::Variable, "Port", "n"},
    {K::Variable, "Timer", "n"},
    {K::Variable, "Counter", "n"},
    {K::Variable, "Stepper", "n"},
    {K::Variable, "Speed", ""},
    {K::Variable, "Steps", ""},
    {K::Variable, "Date", ""},
    {K::Variable, "Day", ""},
    {K::Variable, "Month", ""},
    {K::Variable, "Year", ""},
    {K::Variable, "Time", ""},
    {K::Variable, "Hour", ""},
    {K::Variable, "Minute", ""},
    {K::Variable, "Second", ""},
    {K::Variable, "IrCode", ""},
    {K::Variable, "Keycode", ""},
    {K::Constant, "NL", " = 10"},
    {K::Constant, "CR", " = 13"},
    {K::Constant, "PI", " = 3.1415927"},
};

struct TKindInfo {
    const char *name;
    const char *colorName;
};

// Per kind: the name in the first column and the colour of the word.
const TKindInfo kKinds[] = {
    {"Type", "clBlue"},     {"Format", "clBlue"},    {"Keyword", "clBlue"},
    {"Command", "clBlue"},  {"Function", "clBlack"}, {"Operator", "clBlue"},
    {"Constant", "clBlue"}, {"Variable", "clBlack"}, {"Directive", "clGray"},
};

} // namespace

const std::vector<TCompletionItem> &CompletionItems()
{
    return kItems;
}

const char *CompletionKindName(TCompletionKind kind)
{
    return kKinds[static_cast<int>(kind)].name;
}

const char *CompletionKindColorName(TCompletionKind kind)
{
    return kKinds[static_cast<int>(kind)].colorName;
}
