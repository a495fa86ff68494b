package tarnelltest;

import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.util.ArrayList;
import java.util.Collections;

/** The native methods a class declares, as "name signature" with JNI signatures, sorted. */
public final class NativeMethods {
    private NativeMethods() {
    }

    public static String[] of(Class<?> cls) {
        ArrayList<String> natives = new ArrayList<>();
        for (Method m : cls.getDeclaredMethods()) {
            if (!Modifier.isNative(m.getModifiers()))
                continue;
            StringBuilder sig = new StringBuilder("(");
            for (Class<?> p : m.getParameterTypes())
                sig.append(descriptor(p));
            sig.append(')').append(descriptor(m.getReturnType()));
            natives.add(m.getName() + " " + sig);
        }
        Collections.sort(natives);
        return natives.toArray(new String[0]);
    }

    private static String descriptor(Class<?> t) {
        if (t.isArray())
            return "[" + descriptor(t.getComponentType());
        if (t == void.class) return "V";
        if (t == boolean.class) return "Z";
        if (t == byte.class) return "B";
        if (t == char.class) return "C";
        if (t == short.class) return "S";
        if (t == int.class) return "I";
        if (t == long.class) return "J";
        if (t == float.class) return "F";
        if (t == double.class) return "D";
        return "L" + t.getName().replace('.', '/') + ";";
    }
}
