<?php
// Settings of an adapter, an array, a VD or a PD, changed in place.
declare(strict_types=1);
require_once __DIR__ . '/../lib/layout.php';
require_once __DIR__ . '/../lib/controller.php';

require_login();
// What each object's form may change: field => [label, min, max].
const SETTINGS = [
    'adapter' => ['KX_Adapter_SetConfig', null, ['RebuildRate' => ['Rebuild rate', 1, 100],
        'SyncRate' => ['Consistency check rate', 1, 100], 'InitRate' => ['Initialization rate', 1, 100],
        'MigrationRate' => ['Migration rate', 1, 100], 'MediaPatrolRate' => ['Media patrol rate', 1, 100],
        'AutoRebuildOn' => ['Automatic rebuild (0/1)', 0, 1], 'AlarmOn' => ['Alarm (0/1)', 0, 1],
        'PollSMARTStatus' => ['Poll SMART status (0/1)', 0, 1]]],
    'vd' => ['KX_LD_SetConfig', 'LDID', ['CacheMode' => ['Cache mode (0 on, 1 off)', 0, 1]]],
    'array' => ['KX_DG_SetConfig', 'DGID', ['WriteCacheOn' => ['Write cache (0/1)', 0, 1]]],
    'pd' => ['KX_PD_SetConfig', 'HDID', ['WriteCacheOn' => ['Write cache (0/1)', 0, 1], 'SMARTOn' => ['SMART (0/1)', 0, 1]]],
];
$ok = $err = null;
if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    require_post();
    $kind = post_text('kind');
    $a = filter_var($_POST['adapter'] ?? null, FILTER_VALIDATE_INT, ['options' => ['min_range' => 0, 'max_range' => 255]]);
    if (!isset(SETTINGS[$kind]) || $a === false) {
        $err = 'Unknown object.';
    } else {
        [$req, $idName, $fields] = SETTINGS[$kind];
        $params = ['AdapterID' => $a];
        if ($idName !== null) {
            $id = filter_var($_POST['id'] ?? null, FILTER_VALIDATE_INT, ['options' => ['min_range' => 0, 'max_range' => 65535]]);
            if ($id === false) {
                $err = 'Give the object\'s ID.';
            }
            $params[$idName] = $id;
        }
        foreach ($fields as $f => [$label, $min, $max]) {
            $v = trim(post_text($f));
            if ($v === '') {
                continue;  // unchanged
            }
            $n = filter_var($v, FILTER_VALIDATE_INT, ['options' => ['min_range' => $min, 'max_range' => $max]]);
            if ($n === false) {
                $err = "$label must be a whole number from $min to $max.";
                break;
            }
            $params[$f] = $n;
        }
        if ($err === null) {
            $rc = Rpc::retval(Rpc::call($req, $params));
            $err = $rc === 0 ? null : 'The controller refused the change: ' . Words::error($rc);
            $ok = $rc === 0 ? 'Settings changed.' : null;
        }
    }
}
page_head('Settings');
flash($ok, $err);
$count = Controller::adapterCount();
foreach (SETTINGS as $kind => [$req, $idName, $fields]) {
    echo '<section><h3>' . h($kind === 'vd' ? 'Virtual disk' : ($kind === 'pd' ? 'Physical disk' : ucfirst($kind))) . '</h3>';
    echo '<form method="post" action="settings.php" id="settings-' . h($kind) . '">' . csrf_field()
        . '<input type="hidden" name="kind" value="' . h($kind) . '">';
    echo '<label>Adapter <select name="adapter">';
    for ($a = 0; $a < $count; $a++) {
        echo '<option value="' . $a . '">' . $a . '</option>';
    }
    echo '</select></label>';
    if ($idName !== null) {
        echo '<label>ID <input name="id" id="' . h($kind) . '-id"></label>';
    }
    foreach ($fields as $f => [$label, $min, $max]) {
        echo '<label>' . h($label) . ' <input name="' . h($f) . '" id="' . h($kind . '-' . $f) . '" placeholder="unchanged"></label>';
    }
    echo '<button type="submit" id="save-' . h($kind) . '">Change</button></form></section>';
}
page_foot();
