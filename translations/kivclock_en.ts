<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>ClockNameRule</name>
    <message>
        <source>&quot;System&quot; 是保留的名称, 不能用作时钟名称.</source>
        <translation>&quot;System&quot; is a reserved name and cannot name a clock.</translation>
    </message>
    <message>
        <source>时钟名称太长, 最多 %1 个字节 (UTF-8).</source>
        <translation>The clock name is too long: at most %1 bytes (UTF-8).</translation>
    </message>
    <message>
        <source>时钟名称不能含有 { } / \ 或控制字符, 也不能是 &quot;.&quot; 或 &quot;..&quot;.</source>
        <translation>A clock name cannot contain { } / \ or control characters, nor be &quot;.&quot; or &quot;..&quot;.</translation>
    </message>
</context>
<context>
    <name>ClockSettings</name>
    <message>
        <source>这个系统没有时区 %1, 时钟按 %2 显示.</source>
        <translation>This system has no time zone %1; the clock shows %2 instead.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>用法: kivclock [时钟名称]
启动名为 &quot;时钟名称&quot; 的时钟; 没有名称时启动默认时钟, 或在添加过其他时钟时让您选择一个.
这个时钟已在运行时, 把它的窗口带到最前面.

  -h, --help   显示本帮助
  --version    显示版本
</source>
        <translation>Usage: kivclock [clock name]
Starts the clock named &quot;clock name&quot;; without a name, starts the default clock, or lets you choose one when other clocks were added.
When that clock runs already, brings its window to the front.

  -h, --help   show this help
  --version    show the version
</translation>
    </message>
</context>
<context>
    <name>FrmAbout</name>
    <message>
        <source>关于 Kiv Clock</source>
        <translation>About Kiv Clock</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>FrmAlpha</name>
    <message>
        <source>设置颜色 Alpha 值</source>
        <translation>Set Color Alpha</translation>
    </message>
    <message>
        <source>Alpha 值: 255</source>
        <translation>Alpha: 255</translation>
    </message>
    <message>
        <source>透明</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>不透明</source>
        <translation>Opaque</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>FrmConfig</name>
    <message>
        <source>Kiv Clock 配置</source>
        <translation>Kiv Clock Settings</translation>
    </message>
    <message>
        <source> 常规: </source>
        <translation> General: </translation>
    </message>
    <message>
        <source>时区:</source>
        <translation>Time zone:</translation>
    </message>
    <message>
        <source>时间标准:</source>
        <translation>Time standard:</translation>
    </message>
    <message>
        <source>时间格式:</source>
        <translation>Time format:</translation>
    </message>
    <message>
        <source>时钟总是在上:</source>
        <translation>Always on top:</translation>
    </message>
    <message>
        <source>显示时钟刻度:</source>
        <translation>Show the scale:</translation>
    </message>
    <message>
        <source>背景透明度:</source>
        <translation>Background opacity:</translation>
    </message>
    <message>
        <source>登录时启动:</source>
        <translation>Start at login:</translation>
    </message>
    <message>
        <source>恢复默认设置</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source> 外观: </source>
        <translation> Appearance: </translation>
    </message>
    <message>
        <source>时钟主题:</source>
        <translation>Theme:</translation>
    </message>
    <message>
        <source>AM 小时/24 小时圈颜色:</source>
        <translation>AM hour/24-hour ring color:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>PM 小时圈颜色:</source>
        <translation>PM hour ring color:</translation>
    </message>
    <message>
        <source>分钟圈颜色:</source>
        <translation>Minute ring color:</translation>
    </message>
    <message>
        <source>秒钟圈颜色:</source>
        <translation>Second ring color:</translation>
    </message>
    <message>
        <source>时间字体颜色:</source>
        <translation>Time text color:</translation>
    </message>
    <message>
        <source>日期字体颜色:</source>
        <translation>Date text color:</translation>
    </message>
    <message>
        <source>时钟表盘刻度颜色:</source>
        <translation>Scale color:</translation>
    </message>
    <message>
        <source>小时圈宽度(10 ~ 50):</source>
        <translation>Hour ring width (10 ~ 50):</translation>
    </message>
    <message>
        <source>分钟圈宽度(10 ~ 50):</source>
        <translation>Minute ring width (10 ~ 50):</translation>
    </message>
    <message>
        <source>秒钟圈宽度(10 ~ 50):</source>
        <translation>Second ring width (10 ~ 50):</translation>
    </message>
    <message>
        <source>时钟半径(48 ~ 128):</source>
        <translation>Clock radius (48 ~ 128):</translation>
    </message>
    <message>
        <source> 添加时钟: </source>
        <translation> Add a Clock: </translation>
    </message>
    <message>
        <source>选择时区:</source>
        <translation>Time zone:</translation>
    </message>
    <message>
        <source>显示名称:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>添加时钟</source>
        <translation>New clock</translation>
    </message>
    <message>
        <source>添加(&amp;A)</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source> 管理时钟: </source>
        <translation> Manage Clocks: </translation>
    </message>
    <message>
        <source>运行(&amp;R)</source>
        <translation>&amp;Run</translation>
    </message>
    <message>
        <source>删除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>停止(&amp;S)</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source> 添加警报: </source>
        <translation> Add an Alarm: </translation>
    </message>
    <message>
        <source>报警时间:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>(H:)</source>
        <translation>(H:)</translation>
    </message>
    <message>
        <source>(M:)</source>
        <translation>(M:)</translation>
    </message>
    <message>
        <source>动作:</source>
        <translation>Action:</translation>
    </message>
    <message>
        <source>提示 (最大256个字符) :</source>
        <translation>Note (at most 256 characters):</translation>
    </message>
    <message>
        <source>浏览(&amp;B)</source>
        <translation>&amp;Browse</translation>
    </message>
    <message>
        <source>选择一个要被执行的文件</source>
        <translation>Choose a file to open</translation>
    </message>
    <message>
        <source>播放时间:</source>
        <translation>Play for:</translation>
    </message>
    <message>
        <source>声音:</source>
        <translation>Sound:</translation>
    </message>
    <message>
        <source>默认报警声</source>
        <translation>Default sound</translation>
    </message>
    <message>
        <source>选择一个声音文件</source>
        <translation>Choose a sound file</translation>
    </message>
    <message>
        <source> 管理警报: </source>
        <translation> Manage Alarms: </translation>
    </message>
    <message>
        <source>启用(&amp;E)</source>
        <translation>&amp;Enable</translation>
    </message>
    <message>
        <source>禁用(&amp;D)</source>
        <translation>Di&amp;sable</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>应用(&amp;A)</source>
        <translation>&amp;Apply</translation>
    </message>
</context>
<context>
    <name>FrmDefault</name>
    <message>
        <source>选择时钟</source>
        <translation>Choose a Clock</translation>
    </message>
    <message>
        <source>选择一个您想要运行的时钟:</source>
        <translation>Choose the clock you want to run:</translation>
    </message>
    <message>
        <source>确定(</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>FrmTip</name>
    <message>
        <source>报警提示</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>InstanceChannel</name>
    <message>
        <source>无法把 %1 用作只属于本用户的文件夹</source>
        <translation>Cannot use %1 as a folder of this user only</translation>
    </message>
    <message>
        <source>无法锁定 %1</source>
        <translation>Cannot lock %1</translation>
    </message>
</context>
<context>
    <name>PrivateFiles</name>
    <message>
        <source>磁盘已满</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>没有写入权限</source>
        <translation>no permission to write</translation>
    </message>
    <message>
        <source>文件系统是只读的</source>
        <translation>the file system is read-only</translation>
    </message>
    <message>
        <source>文件夹不存在</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>文件名太长</source>
        <translation>the file name is too long</translation>
    </message>
    <message>
        <source>无法创建锁文件 %1: %2</source>
        <translation>Cannot create the lock file %1: %2</translation>
    </message>
    <message>
        <source>无法锁定 %1: %2</source>
        <translation>Cannot lock %1: %2</translation>
    </message>
    <message>
        <source>%1 被另一个进程锁定太久</source>
        <translation>%1 was locked by another process for too long</translation>
    </message>
    <message>
        <source>无法写入 %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>Registry</name>
    <message>
        <source>设置文件 %1 太大 (%2 MB), 没有读取, 也没有改动.</source>
        <translation>The settings file %1 is too large (%2 MB); it was neither read nor changed.</translation>
    </message>
    <message>
        <source>无法读取 %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>无法创建 %1 的文件夹: %2</source>
        <translation>Cannot create the folder of %1: %2</translation>
    </message>
    <message>
        <source>设置文件 %1 有无法读取的行, 但无法保存它的副本, 所以没有改动它.</source>
        <translation>The settings file %1 has lines that cannot be read, and no copy of it could be saved, so it was left unchanged.</translation>
    </message>
    <message>
        <source>设置文件 %1 有无法读取的行. 原文件已另存为 %2.</source>
        <translation>The settings file %1 has lines that cannot be read. The original file was saved as %2.</translation>
    </message>
</context>
<context>
    <name>TimeZoneTable</name>
    <message>
        <source>(UTC-07:00) 山地时间 (US &amp; Canada)</source>
        <translation>(UTC-07:00) Mountain Time (US &amp; Canada)</translation>
    </message>
    <message>
        <source>(UTC+08:00) 北京, 重庆, 香港, 乌鲁木齐</source>
        <translation>(UTC+08:00) Beijing, Chongqing, Hong Kong, Urumqi</translation>
    </message>
</context>
<context>
    <name>kiv::AboutDialog</name>
    <message>
        <source>网站: %1</source>
        <translation>Website: %1</translation>
    </message>
    <message>
        <source>一个强大的彩色时钟</source>
        <translation>A powerful, colorful clock</translation>
    </message>
    <message>
        <source>本程序按 GNU 通用公共许可证第三版或更高版本发布, 不提供任何担保.</source>
        <translation>This program is released under the GNU General Public License, version 3 or later, without any warranty.</translation>
    </message>
</context>
<context>
    <name>kiv::AlarmMessages</name>
    <message>
        <source>读取配置文件失败! </source>
        <translation>Could not read the alarm file! </translation>
    </message>
    <message>
        <source>原文件已另存为 %1.</source>
        <translation>The original file was saved as %1.</translation>
    </message>
    <message>
        <source>无法保存原文件的副本.</source>
        <translation>No copy of the original file could be saved.</translation>
    </message>
    <message>
        <source>保存配置文件失败! </source>
        <translation>Could not save the alarm file! </translation>
    </message>
    <message>
        <source>添加警报失败. 每个时钟最多只能有 128 个警报.</source>
        <translation>Could not add the alarm. A clock can have at most 128 alarms.</translation>
    </message>
</context>
<context>
    <name>kiv::AlarmTip</name>
    <message>
        <source>时钟: %1  -  警报: %2</source>
        <translation>Clock: %1  -  Alarm: %2</translation>
    </message>
</context>
<context>
    <name>kiv::AlphaDialog</name>
    <message>
        <source>Alpha 值: %1</source>
        <translation>Alpha: %1</translation>
    </message>
</context>
<context>
    <name>kiv::ClockApplication</name>
    <message>
        <source>配置(&amp;C)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>关于Kiv Clock(&amp;A)</source>
        <translation>&amp;About Kiv Clock</translation>
    </message>
    <message>
        <source>访问我们的网站(&amp;V)</source>
        <translation>&amp;Visit Our Website</translation>
    </message>
    <message>
        <source>退出(&amp;E)</source>
        <translation>E&amp;xit</translation>
    </message>
</context>
<context>
    <name>kiv::ClockMessages</name>
    <message>
        <source>Kiv Clock 错误</source>
        <translation>Kiv Clock Error</translation>
    </message>
    <message>
        <source>添加时钟失败. 请输入时钟名称.</source>
        <translation>Could not add the clock. Please enter a clock name.</translation>
    </message>
    <message>
        <source>时钟名已存在. 请重新命名.</source>
        <translation>A clock of that name exists. Please choose another name.</translation>
    </message>
    <message>
        <source>添加时钟失败. </source>
        <translation>Could not add the clock. </translation>
    </message>
    <message>
        <source>添加时钟失败. 最多只能添加 127 个时钟.</source>
        <translation>Could not add the clock. At most 127 clocks can be added.</translation>
    </message>
    <message>
        <source>添加时钟失败. 无法保存设置: </source>
        <translation>Could not add the clock. The settings cannot be saved: </translation>
    </message>
    <message>
        <source>删除时钟失败. </source>
        <translation>Could not delete the clock. </translation>
    </message>
</context>
<context>
    <name>kiv::ConfigDialog</name>
    <message>
        <source>标准时间</source>
        <translation>Standard time</translation>
    </message>
    <message>
        <source>夏令时间</source>
        <translation>Daylight saving time</translation>
    </message>
    <message>
        <source>12 小时</source>
        <translation>12-hour</translation>
    </message>
    <message>
        <source>24 小时</source>
        <translation>24-hour</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>自定义</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>默认</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>蓝色之夜</source>
        <translation>Blue Night</translation>
    </message>
    <message>
        <source>显示提示</source>
        <translation>Show a note</translation>
    </message>
    <message>
        <source>关闭计算机</source>
        <translation>Shut down the computer</translation>
    </message>
    <message>
        <source>重启计算机</source>
        <translation>Restart the computer</translation>
    </message>
    <message>
        <source>锁定计算机</source>
        <translation>Lock the computer</translation>
    </message>
    <message>
        <source>关机不保存</source>
        <translation>Shut down without saving</translation>
    </message>
    <message>
        <source>重启不保存</source>
        <translation>Restart without saving</translation>
    </message>
    <message>
        <source>执行一个文件 (程序,文档,网址...)</source>
        <translation>Open a file (program, document, web address...)</translation>
    </message>
    <message>
        <source>1 分钟</source>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>2 分钟</source>
        <translation>2 minutes</translation>
    </message>
    <message>
        <source>3 分钟</source>
        <translation>3 minutes</translation>
    </message>
    <message>
        <source>5 分钟</source>
        <translation>5 minutes</translation>
    </message>
    <message>
        <source>圈</source>
        <translation>Loop</translation>
    </message>
</context>
<context>
    <name>kiv::ConfigTexts</name>
    <message>
        <source>默认报警声音</source>
        <translation>Default alarm sound</translation>
    </message>
    <message>
        <source>常规(&amp;G)</source>
        <translation>&amp;General</translation>
    </message>
    <message>
        <source>外观(&amp;A)</source>
        <translation>&amp;Appearance</translation>
    </message>
    <message>
        <source>添加时钟(&amp;A)</source>
        <translation>&amp;Clocks</translation>
    </message>
    <message>
        <source>警报(&amp;A)</source>
        <translation>A&amp;larms</translation>
    </message>
    <message>
        <source>警报已存在. 请检查和重设.</source>
        <translation>That alarm exists already. Please check it and set it again.</translation>
    </message>
    <message>
        <source>提示 (最大256个字符) :</source>
        <translation>Note (at most 256 characters):</translation>
    </message>
    <message>
        <source>参数 (最大256个字符) :</source>
        <translation>File or address (at most 256 characters):</translation>
    </message>
    <message>
        <source>选择一个要执行的文件</source>
        <translation>Choose a file to open</translation>
    </message>
    <message>
        <source> -- 运行中</source>
        <translation> -- running</translation>
    </message>
    <message>
        <source> -- 已停止</source>
        <translation> -- stopped</translation>
    </message>
    <message>
        <source> - 启用</source>
        <translation> - enabled</translation>
    </message>
    <message>
        <source> - 禁用</source>
        <translation> - disabled</translation>
    </message>
</context>
<context>
    <name>kiv::PowerMessages</name>
    <message>
        <source>关闭电脑错误</source>
        <translation>Could not shut down the computer</translation>
    </message>
    <message>
        <source>重启电脑错误</source>
        <translation>Could not restart the computer</translation>
    </message>
</context>
<context>
    <name>kiv::StartupMessages</name>
    <message>
        <source>Kiv Clock 错误</source>
        <translation>Kiv Clock Error</translation>
    </message>
    <message>
        <source>无法打开显示。</source>
        <translation>Cannot open the display.</translation>
    </message>
    <message>
        <source>无法启动时钟 {%1}：%2</source>
        <translation>Cannot start the clock {%1}: %2</translation>
    </message>
    <message>
        <source>时钟 {%1} 的设置没有保存：%2</source>
        <translation>The settings of the clock {%1} were not saved: %2</translation>
    </message>
    <message>
        <source>无法打开显示 DISPLAY=&quot;%1&quot;。请启动 XWayland 或 X 会话，或用 QT_QPA_PLATFORM 选择其他平台。</source>
        <translation>Cannot open the display DISPLAY=&quot;%1&quot;. Start XWayland or an X session, or choose another platform with QT_QPA_PLATFORM.</translation>
    </message>
</context>
<context>
    <name>kiv::TipTexts</name>
    <message>
        <source>计算机将被关闭,在 %1 秒后</source>
        <translation>The computer will shut down in %1 seconds</translation>
    </message>
    <message>
        <source>计算机将会重启,在 %1 秒后</source>
        <translation>The computer will restart in %1 seconds</translation>
    </message>
    <message>
        <source>计算机将会被锁定,在 %1 秒后</source>
        <translation>The computer will be locked in %1 seconds</translation>
    </message>
    <message>
        <source>计算机将会被关闭不保存,在 %1 秒后</source>
        <translation>The computer will shut down without saving in %1 seconds</translation>
    </message>
    <message>
        <source>计算机将会重启不保存,在%1 秒后</source>
        <translation>The computer will restart without saving in %1 seconds</translation>
    </message>
    <message>
        <source>取消(&amp;C) (%1)</source>
        <translation>&amp;Cancel (%1)</translation>
    </message>
    <message>
        <source>没有打开: %1</source>
        <translation>Not opened: %1</translation>
    </message>
    <message>
        <source>这个警报的时间已过, 没有执行它的操作.</source>
        <translation>This alarm&apos;s time has passed; its action was not carried out.</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>  (已错过)</source>
        <translation>  (missed)</translation>
    </message>
    <message>
        <source>计算机休眠了, 倒计时已取消, 没有执行操作.</source>
        <translation>The computer slept: the countdown was cancelled and nothing was done.</translation>
    </message>
</context>
</TS>
